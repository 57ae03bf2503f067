// The text routines both tools read their input with.
#include "common/tool_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace vigil::tools {
namespace {

struct MidCase {
  std::string text;
  int from;
  int count;
  std::string expected;
};

TEST(ToolTextTest, MidKeepsToTheColumnsThatExist) {
  const std::vector<MidCase> cases = {
      {"Mount Point", 1, 5, "Mount"},
      {"Mount Point", 7, 99, "Point"},
      {"abc", 4, 1, ""},
      {"abc", 0, 2, "a"},  // column 0 does not exist but uses up one
      {"abc", -5, 3, ""},
      {"abc", 2, 0, ""},
      {"abc", 2, -1, ""},
      {"abc", -2147483647, 2147483647, ""},
  };
  for (const MidCase& c : cases) {
    EXPECT_EQ(Mid(c.text, c.from, c.count), c.expected)
        << c.text << " " << c.from << " " << c.count;
  }
}

struct SplitCase {
  std::string text;
  std::vector<std::string> expected;
};

TEST(ToolTextTest, SplitLinesDropsCarriageReturnsAndNoEmptyLastLine) {
  const std::vector<SplitCase> cases = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\n\nb", {"a", "", "b"}},
      {"a\rb\n", {"a\rb"}},  // only a CR before the LF ends a line
  };
  for (const SplitCase& c : cases) EXPECT_EQ(SplitLines(c.text), c.expected);
}

TEST(ToolTextTest, SplitWordsAndSplitTrimmed) {
  EXPECT_EQ(SplitWords(" \tload  0.5\t1 "),
            (std::vector<std::string>{"load", "0.5", "1"}));
  EXPECT_TRUE(SplitWords(" \t ").empty());
  EXPECT_EQ(SplitTrimmed(" a | b c ||", '|'),
            (std::vector<std::string>{"a", "b c", "", ""}));
  EXPECT_EQ(SplitTrimmed("", '|'), (std::vector<std::string>{""}));
  EXPECT_EQ(Trim("\r\n x y \t"), "x y");
  EXPECT_EQ(ToLower("Channels-\xC4"), "channels-\xC4");
}

struct NumberCase {
  std::string text;
  std::optional<double> decimal;
  std::optional<long long> whole;
};

TEST(ToolTextTest, NumbersMustBeTheWholeText) {
  const std::vector<NumberCase> cases = {
      {"42", 42, 42},
      {"-7", -7, -7},
      {"0.25", 0.25, std::nullopt},
      {"1e3", 1000, std::nullopt},
      {"0,25", std::nullopt, std::nullopt},  // never the C locale's comma
      {" 1", std::nullopt, std::nullopt},
      {"1 ", std::nullopt, std::nullopt},
      {"+1", std::nullopt, std::nullopt},
      {"", std::nullopt, std::nullopt},
      {"inf", std::nullopt, std::nullopt},
      {"nan", std::nullopt, std::nullopt},
      {"1e999", std::nullopt, std::nullopt},
      {"99999999999999999999", 1e20, std::nullopt},
  };
  for (const NumberCase& c : cases) {
    EXPECT_EQ(ParseDecimal(c.text), c.decimal) << c.text;
    EXPECT_EQ(ParseWhole(c.text), c.whole) << c.text;
  }
}

}  // namespace
}  // namespace vigil::tools
