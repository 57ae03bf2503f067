// vigil check: what it finds, where, and that no input makes it fail
// to say so.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "store/text.h"
#include "support/record_builder.h"
#include "support/temp_dir.h"
#include "vigil/commands.h"
#include "vigil/launcher_files.h"

namespace vigil::cli {
namespace {

using testing::RecordBuilder;
using testing::TempDir;
using Lines = std::vector<std::string>;

std::string ReplaceAll(std::string text, std::string_view from,
                       std::string_view to) {
  for (size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

constexpr char kHeader[] = "0806 AuxOrbs...   .";
constexpr char kRule[] = "0102 # Cpu;>;90;Warning;";

std::string Record(const std::function<void(RecordBuilder&)>& edit = {}) {
  RecordBuilder record;  // 0102, source Dialog.Prf, program Check.Exe
  if (edit) edit(record);
  return record.Text();
}

struct CheckRun {
  int status = 0;
  std::vector<std::string> findings;  // "line:column: message"
};

// The source profile lies beside the orbs file, the sensor program in the
// companion directory, so that both places are searched.
class VigilCheckTest : public ::testing::Test {
 protected:
  VigilCheckTest() {
    dir_.Write("Dialog.Prf", "* Host/IP.........: 10.0.0.1\n");
    dir_.Write("companion/Check.Exe", "#!/bin/sh\n");
    chmod((dir_ / "companion/Check.Exe").c_str(), 0755);
    dir_.Write("companion/Plain.Txt", "text\n");
  }

  CheckRun Check(std::string_view bytes, Words extra = {}) {
    dir_.Write("AuxOrbs.Prf", bytes);
    const std::string file = (dir_ / "AuxOrbs.Prf").string();
    Words words = {file, "--companion", (dir_ / "companion").string()};
    words.insert(words.end(), extra.begin(), extra.end());
    std::ostringstream out;
    std::ostringstream err;
    CheckRun run;
    run.status = RunCheck(words, out, err);
    EXPECT_EQ(err.str(), "");
    for (const std::string& line : SplitLines(out.str())) {
      const bool summary = line.find(": sound,") != std::string::npos ||
                           line.find(" problem") != std::string::npos;
      if (line.rfind(file + ":", 0) == 0 && !summary) {
        run.findings.push_back(line.substr(file.size() + 1));
      }
    }
    return run;
  }

  static std::string Crlf(const Lines& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    return bytes;
  }

  TempDir dir_;
};

// Without a file: the wall of a directory, with the companion directory
// vigil start remembered; a name that does not tell the mode leaves it to
// the header line.
TEST_F(VigilCheckTest, TheWallOfADirectoryAndTheModeOfItsHeader) {
  const std::string lines = Crlf({kHeader, Record(), kRule});
  dir_.Write("AuxOrbs.Prf", lines);
  dir_.Write("wall.txt", lines);
  const std::string wall = dir_.path().string();
  struct Case {
    Words words;
    int status;
    std::string shown;
  } cases[] = {
      // Check.Exe lies only in the companion directory.
      {{"--dir", wall}, 1, "sensor program \"Check.Exe\" is not in"},
      {{"--dir", wall, "--companion", (dir_ / "companion").string()},
       0,
       "AuxOrbs.Prf: sound, 1 orb of mode AuxOrb"},
      {{(dir_ / "wall.txt").string(), "--no-files"},
       0,
       "wall.txt: sound, 1 orb of mode AuxOrb"},
      {{"--dir", (dir_ / "companion").string()}, 2, "no orbs file"},
      {{(dir_ / "AuxOrbs.Prf").string(), "--dir", wall}, 2, "not both"},
  };
  for (const Case& c : cases) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunCheck(c.words, out, err), c.status) << c.words.back();
    EXPECT_NE((out.str() + err.str()).find(c.shown), std::string::npos)
        << out.str() << err.str();
  }
  LauncherFiles(dir_.path()).RememberCompanion(dir_ / "companion");
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(RunCheck({"--dir", wall}, out, err), 0) << out.str();
}

// Orbs on one lock are told, a time-out the orbs cannot read is a finding.
TEST_F(VigilCheckTest, SharedLocksAndTheSensorTimeOut) {
  const std::string lines = Crlf(
      {kHeader, Record(), Record([](RecordBuilder& r) { r.number = "0203"; }),
       Record([](RecordBuilder& r) {
         r.number = "0304";
         r.lock_name = "OTHER";
       })});
  const std::string file = (dir_ / "AuxOrbs.Prf").string();
  dir_.Write("AuxOrbs.Prf", lines);
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(
      RunCheck({file, "--companion", (dir_ / "companion").string()}, out, err),
      0);
  EXPECT_NE(out.str().find("lock \"DIALOG\" is shared by 0102, 0203: they "
                           "take turns"),
            std::string::npos)
      << out.str();
  EXPECT_EQ(out.str().find("OTHER"), std::string::npos);

  dir_.Write("Dialog.Prf", "* Sensor-Timeout..: 1m\n");
  const CheckRun run = Check(lines);
  EXPECT_EQ(run.status, 1);
  ASSERT_EQ(run.findings.size(), 3u);
  EXPECT_NE(run.findings[0].find(": Sensor-Timeout '1m' is no whole number"),
            std::string::npos)
      << run.findings[0];
}

// Each case breaks one thing of a sound file and expects exactly one
// finding, at its line and column.
TEST_F(VigilCheckTest, FindsEachProblemAtItsLineAndColumn) {
  struct Case {
    Lines lines;
    std::string expected;  // the finding's start; empty: sound
  };
  const RecordBuilder second = [] {
    RecordBuilder record;
    record.number = "0203";
    return record;
  }();
  const Case cases[] = {
      {{kHeader, Record(), kRule}, ""},
      {{"ab06 AuxOrbs...   .", Record()}, "1:1: grid rows \"ab\" is not"},
      {{"0800 AuxOrbs...   .", Record()}, "1:3: grid columns \"00\""},
      {{"0806 AuxOrbs...xy .", Record()}, "1:16: frame width \"xy\""},
      {{"0806 AuxOrbs...   .     3x", Record()}, "1:25: label size offset"},
      {{"0806 AuxOrbs...   .           HDMI-1", Record()}, ""},
      {{"0806 AuxOrbs...   .           0", Record()},
       "1:31: monitor \"0\" names no monitor"},
      {{kHeader, Record(), kHeader}, "3:1: another header line"},
      {{kHeader, Record(), "0806 HttpOrbs..   ."},
       "3:6: header line of the HttpOrb mode"},
      {{kHeader, Record([](auto& r) { r.number = "0902"; })},
       "2:1: row 09 is outside the grid of 8 rows"},
      {{kHeader, Record([](auto& r) { r.number = "0106"; })},
       "2:3: column 06 is outside"},
      {{kHeader, Record([](auto& r) {
          r.number = "0105";
          r.grid_size = " 1  2";
        })},
       "2:22: width of 2 cells from column 05 reaches beyond"},
      {{kHeader, Record(), Record()}, "3:1: another record of orb 0102"},
      {{kHeader, Record([](auto& r) { r.grid_size = " 2  2"; }), second.Text()},
       "3:19: orb 0203 (1x1 cells from row 02, column 03) overlaps orb 0102"},
      {{kHeader, Record([](auto& r) { r.grid_size = " a  1"; })},
       "2:19: grid size \" a  1\" is not a number of cells"},
      {{kHeader, Record([](auto& r) { r.delay = "   1x"; })},
       "2:29: delay \"   1x\" is not a number; expected seconds from 10 to "
       "99999, right-aligned in columns 29-33"},
      {{kHeader, Record([](auto& r) { r.delay = "    5"; })},
       "2:29: delay of 5 seconds is out of range"},
      {{kHeader, Record([](auto& r) { r.face_mode = '7'; })},
       "2:17: face \"7\""},
      {{kHeader, Record([](auto& r) { r.chart_type = '8'; })},
       "2:18: chart kind \"8\""},
      {{kHeader, Record([](auto& r) { r.hold = 'y'; })}, "2:40: hold flag"},
      {{kHeader, Record([](auto& r) { r.legend = 'X'; })}, "2:67: legend flag"},
      {{kHeader, Record([](auto& r) { r.chart_bars = "xx1-xxxx"; })},
       "2:43: chart bar 2 \"1-\""},
      {{kHeader, Record([](auto& r) { r.idle_colour = "18"; })},
       "2:35: idle colour \"18\""},
      {{kHeader, Record([](auto& r) { r.history_bars = "1o0"; })},
       "2:52: history bars \"1o0\""},
      {{kHeader, Record([](auto& r) { r.lock_name = ""; })},
       "2:56: lock name is blank"},
      {{kHeader, Record([](auto& r) { r.tail = "Dialog.Prf;Check.Exe;T"; })},
       "2:100: tail \"Dialog.Prf;Check.Exe;T\" has 2 of the 3"},
      {{kHeader, Record([](auto& r) { r.tail = "Gone.Prf;Check.Exe;;T"; })},
       "2:78: source profile \"Gone.Prf\" is not in"},
      {{kHeader, Record([](auto& r) { r.tail = "Dialog.Prf;Gone;;T"; })},
       "2:89: sensor program \"Gone\" is not in"},
      {{kHeader, Record([](auto& r) { r.tail = "Dialog.Prf;Plain.Txt;;T"; })},
       "2:89: sensor program"},  // there, but not executable
      {{kHeader, "0203 Short"}, "2:11: record ends at column 10"},
      {{kHeader, Record(), "0305 # a;=;1;Warning;"},
       "3:1: rule line of orb 0305, which has no record"},
      {{kHeader, Record(), "0102 # Cpu;=>;80;Warning;"},
       "3:12: operator \"=>\" is unknown"},
      {{kHeader, Record(), "0102 # Cpu;>;8.5;Warning;"},
       "3:14: value \"8.5\" is not a whole number"},
      {{kHeader, Record(), "0102 # Cpu;>;80;Lime;"},
       "3:17: action \"Lime\" is unknown"},
      {{kHeader, Record(), "0102 # Cpu;>;80"}, "3:16: rule \"Cpu;>;80\" has 2"},
      {{kHeader, Record(), "0102 # ;>;80;Warning;"}, "3:8: rule has no item"},
      {{kHeader, Record(), "0102 $X E"}, "3:7: expected a blank after the"},
      {{kHeader, Record(), "0102 $ X E X.Q..... a;b;s;;;host;"},
       "3:14: state-mail settings: state mark (Red) \"Q\""},
      {{kHeader, Record(), "0102 \xC2\xA7 X E Y E"},
       "3:13: trace settings: exec-log switch \"Y\""},
      {{kHeader, Record(), "0102 ! X E . . X", "0102 ! X E"},
       "4:6: another state-exec settings line of orb 0102"},
      {{kHeader, Record(), "01x2 # a;=;1;Warning;"},
       "3:1: line begins with \"01x2\""},
      {{kHeader, Record(), ""}, "3:1: empty line"},
      {{kHeader, Record([](auto& r) { r.display_name = "Tab\there"; })},
       "2:9: control character \"\\x09\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    const CheckRun run = Check(Crlf(c.lines));
    if (c.expected.empty()) {
      EXPECT_EQ(run.status, 0);
      EXPECT_TRUE(run.findings.empty()) << run.findings.front();
      continue;
    }
    EXPECT_EQ(run.status, 1);
    ASSERT_EQ(run.findings.size(), 1u) << run.findings.front();
    EXPECT_EQ(run.findings.front().substr(0, c.expected.size()), c.expected);
  }
}

// Whatever the bytes, check ends with a status and every finding has a
// line of the file and a column within that line (or just after it).
TEST_F(VigilCheckTest, AnyInputGetsLinesAndColumns) {
  const std::string sound = Crlf(
      {kHeader, Record(), kRule, "0102 @ Probe;Group;Device;Sensor;with;",
       "0102 * CPU;Memory;", "0102 * Disk", "0102 \xA7 . . . . X E X E t;"});
  std::vector<std::string> inputs = {
      sound,
      // The same with LF ends and a UTF-8 trace marker.
      ReplaceAll(sound, "\r\n", "\n"),
      ReplaceAll(sound, "\xA7", "\xC2\xA7"),
      // What the orb's own tests feed its readers.
      Crlf({"0006 AuxOrbs...   .", "ab06 AuxOrbs...   .", "0806 AuxOrbs...xy .",
            "0806 AuxOrbs... 2 .   X 3x 1 ", "0102 AuxOrb... not a record",
            "0102 HttpOrb... x", "0102 # Cpu;>;90;Alert;", "0102 $ X E mail",
            "0102 % value mail", "0102 \xA7 ........X...", "0102 @ P;G;D;S",
            "0102 * A;B;", "0102 x", "0806 HttpOrbs..", "0403 HttpOrbs..",
            "Load;>;5;Aqua", ";;;;"}),
      // Rules and action settings from the rule and action tests.
      Crlf({kHeader, Record(), "0102 # Load;>;5;Aqua", "0102 # Load;>;5",
            "0102 # Load", "0102 #", "0102 # ;;;;",
            "0102 # Load;=;  7;Warning;rest;", "0102 #  Load ;<>;1;<Mail>;",
            "0102 # 12.5;>;1.5;Lime;", "0102 $ X E;mail",
            "0102 $ X E X.X..... ops@x.org;;%State on %Sensor;;;host;",
            "0102 ! X E . . X X.X..X.. printf;'%s\\n' %State >> exec.out;;",
            "0102 & X E X . . s.sh;p;d;", "0102 \xA7 X E     X . . ;",
            "0102 \xC2\xA7 . . . . X E . . . ", "0102 % X E a;b;s;u;;host"}),
      // Lone CRs, CR CR LF, and no line end at all.
      "0806 AuxOrbs...\r0102 Dialog\r\r\n" + Record(),
  };
  // Every cut of the sound file: truncated lines of every kind.
  for (size_t length = 1; length < sound.size(); ++length) {
    inputs.push_back(sound.substr(0, length));
  }
  std::mt19937 random(20240611);  // fixed, so that a failure repeats
  for (int i = 0; i < 40; ++i) {
    std::string junk(1 + random() % 300, '\0');
    for (char& byte : junk) byte = static_cast<char>(random());
    inputs.push_back(junk);
  }
  const std::regex finding("^(\\d+):(\\d+): \\S.*$");
  for (const std::string mode : {"AuxOrb", "HttpOrb"}) {
    for (size_t i = 0; i < inputs.size(); ++i) {
      SCOPED_TRACE(mode + " input " + std::to_string(i));
      const CheckRun run = Check(inputs[i], {"--mode", mode});
      ASSERT_TRUE(run.status == 0 || run.status == 1);
      EXPECT_EQ(run.status == 0, run.findings.empty());
      const Lines lines = SplitLines(inputs[i]);
      for (const std::string& text : run.findings) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(text, match, finding)) << text;
        const size_t line = std::stoul(match[1]);
        const size_t column = std::stoul(match[2]);
        ASSERT_GE(line, 1u) << text;
        ASSERT_LE(line, lines.size()) << text;
        EXPECT_GE(column, 1u) << text;
        EXPECT_LE(column, lines[line - 1].size() + 1) << text;
      }
    }
  }
  // The sound file stays sound in both line endings and both "§".
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(Check(inputs[i]).status, 0) << i;
  }
}

TEST_F(VigilCheckTest, UnreadableOrUnnamedFilesAreStatusTwo) {
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(RunCheck({(dir_ / "AuxOrbs.Prf").string()}, out, err), 2);
  // Neither the name nor a header line tells the mode.
  dir_.Write("orbs.txt", Crlf({Record()}));
  EXPECT_EQ(RunCheck({(dir_ / "orbs.txt").string()}, out, err), 2);
  EXPECT_EQ(
      RunCheck({(dir_ / "orbs.txt").string(), "--mode", "AuxOrb", "--no-files"},
               out, err),
      0);
  EXPECT_EQ(RunCheck({dir_.path().string(), "--mode", "AuxOrb"}, out, err), 2);
}

}  // namespace
}  // namespace vigil::cli
