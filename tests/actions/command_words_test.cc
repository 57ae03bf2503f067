#include "actions/command_words.h"

#include <gtest/gtest.h>

#include "monitor/program_runner.h"
#include "store/text.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace vigil {
namespace {

using testing::CommandOutput;
using testing::TempDir;

std::vector<TextPiece> WithItem(const std::string& text,
                                const std::string& item) {
  PlaceholderValues values;
  values.item = item;
  return SubstitutePieces(text, values);
}

// Values that would run "touch pwned" if the shell read them as syntax.
const std::vector<std::string> kHostileItems = {
    "x; touch pwned",    "$(touch pwned)",      "`touch pwned`",
    "'; touch pwned; '", "\"; touch pwned; \"", "a\\\"; touch pwned; \\\"",
    "\\`touch pwned\\`", "it's $HOME a  b",     "back\\slash\\",
    "x\ntouch pwned",
};

struct ShellCase {
  const char* name;
  const char* command;  // prints what the shell made of %Channel
  const char* before;   // expected output around the item
  const char* after;
};

class ShellCommandLineTest : public ::testing::TestWithParam<ShellCase> {};

TEST_P(ShellCommandLineTest, TheItemReachesTheProgramUnchanged) {
  const ShellCase& c = GetParam();
  for (const std::string& item : kHostileItems) {
    TempDir dir;
    const std::string line = ShellCommandLine(WithItem(c.command, item));
    const std::string output =
        CommandOutput("cd " + ShellQuote(dir.path().string()) + " && " + line);
    EXPECT_EQ(output, c.before + item + c.after) << line;
    EXPECT_FALSE(dir.Exists("pwned")) << line;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Contexts, ShellCommandLineTest,
    ::testing::Values(
        ShellCase{"Plain", "printf %s %Channel", "", ""},
        ShellCase{"WithinAWord", "printf %s x%Channel\"y\"", "x", "y"},
        ShellCase{"DoubleQuoted", "printf %s \"<%Channel>\"", "<", ">"},
        ShellCase{"SingleQuoted", "printf %s '<%Channel>'", "<", ">"},
        ShellCase{"SingleQuotesInsideDouble", "printf %s \"a'%Channel'b\"",
                  "a'", "'b"},
        ShellCase{"AfterAnEscapedQuote", "printf %s \\\"%Channel", "\"", ""},
        ShellCase{"CommandSubstitution",
                  "printf %s \"$(printf %s %Channel; printf /)\"", "", "/"},
        ShellCase{"QuotedInsideCommandSubstitution",
                  "printf %s \"$(printf %s '%Channel' \"|\")\"", "", "|"},
        ShellCase{"Backticks", "printf %s \"`printf %s %Channel`/\"", "", "/"},
        ShellCase{
            "AfterAClosedSubstitution",
            "printf %s \"$(printf a)\"%Channel",
            "a",
            "",
        }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ShellCommandLineTest, TheOperatorsTextStaysShellSyntax) {
  TempDir dir;
  const std::string line = ShellCommandLine(
      WithItem("printf %s %Channel > out.txt; printf done", "Cpu Load"));
  EXPECT_EQ(
      CommandOutput("cd " + ShellQuote(dir.path().string()) + " && " + line),
      "done");
  EXPECT_EQ(dir.Read("out.txt"), "Cpu Load");
}

TEST(ShellCommandLineTest, AnEscapedPlaceholderTakesTheValuesFirstCharacter) {
  TempDir dir;
  const std::string line =
      ShellCommandLine(WithItem("printf %s \\%Channel", "$(touch pwned)"));
  EXPECT_EQ(
      CommandOutput("cd " + ShellQuote(dir.path().string()) + " && " + line),
      "$(touch pwned)");
  EXPECT_FALSE(dir.Exists("pwned"));
}

struct WordsCase {
  const char* text;
  const char* item;
  std::vector<std::string> words;
};

TEST(CommandWordsTest, SplitsTheOperatorsTextOnly) {
  const std::vector<WordsCase> cases = {
      {"prog a \"b c\" d", "", {"prog", "a", "b c", "d"}},
      {"  prog   a  ", "", {"prog", "a"}},
      {"prog \"\" a", "", {"prog", "", "a"}},
      {"prog %Channel", "x y", {"prog", "x y"}},
      {"prog %Channel", "", {"prog"}},
      {"/opt/%Channel.sh -v", "my tool", {"/opt/my tool.sh", "-v"}},
      {"prog pre%Channel\"post x\"", "a\"b", {"prog", "prea\"bpost x"}},
      {"", "", {}},
  };
  for (const WordsCase& c : cases) {
    EXPECT_EQ(CommandWords(WithItem(c.text, c.item)), c.words) << c.text;
  }
}

}  // namespace
}  // namespace vigil
