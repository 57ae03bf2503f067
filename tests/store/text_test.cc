#include "store/text.h"

#include <gtest/gtest.h>

#include "store/bar_labels.h"
#include "store/colour_lookup.h"
#include "store/record_fields.h"
#include "store/value_parser.h"

namespace vigil {
namespace {

TEST(MidTest, TakesOnlyCharactersThatExist) {
  struct Case {
    const char* text;
    int from;
    int count;
    const char* expected;
  } cases[] = {
      {"abcdef", 1, 3, "abc"},
      {"abcdef", 5, 10, "ef"},
      {"abcdef", 6, 1, "f"},
      {"abcdef", 7, 1, ""},
      {"abc", 100, 5, ""},
      {"", 1, 1, ""},
      {"abcdef", 0, 2, "a"},
      {"abcdef", -5, 3, ""},
      {"abcdef", 2, 0, ""},
      {"abcdef", 2, -1, ""},
      {"abcdef", 3, INT_MAX, "cdef"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Mid(c.text, c.from, c.count), c.expected)
        << c.text << " " << c.from << " " << c.count;
  }
}

TEST(SeparatorTest, AbsentSeparatorIsPositionZero) {
  EXPECT_EQ(Pos(";", "abc"), 0);
  EXPECT_EQ(Pos(";", "ab;c"), 3);
  EXPECT_EQ(BeforeFirst("abc", ';'), "");
  EXPECT_EQ(AfterFirst("abc", ';'), "abc");
  EXPECT_EQ(BeforeFirst("a;b;c", ';'), "a");
  EXPECT_EQ(AfterFirst("a;b;c", ';'), "b;c");
}

TEST(ParseIntegerTest, BlanksIgnoredAnythingElseFails) {
  EXPECT_EQ(ParseInteger(" 7"), 7);
  EXPECT_EQ(ParseInteger("07"), 7);
  EXPECT_EQ(ParseInteger("  60"), 60);
  EXPECT_FALSE(ParseInteger("  "));
  EXPECT_FALSE(ParseInteger(""));
  EXPECT_FALSE(ParseInteger("x7"));
  EXPECT_FALSE(ParseInteger("1 2"));
  EXPECT_FALSE(ParseInteger("99999999999"));
}

TEST(TwoDigitsTest, PadsOnlySingleDigits) {
  EXPECT_EQ(TwoDigits(0), "00");
  EXPECT_EQ(TwoDigits(9), "09");
  EXPECT_EQ(TwoDigits(10), "10");
  EXPECT_EQ(TwoDigits(123), "123");
}

TEST(CapitalizeNameTest, RecasesUniformNamesOnly) {
  struct Case {
    const char* name;
    const char* expected;
  } cases[] = {
      {"", ""},
      {"CPU LOAD", "Cpu Load"},
      {"disk_free(c:)", "Disk_Free(C:)"},
      {"cpu1load", "Cpu1Load"},
      {"MixedCase", "MixedCase"},
      {"ABC-DEF", "Abc-Def"},
      {"abc-", "Abc-"},
      {"a  b", "A  B"},
      {"x/y&z!w", "X/Y&Z!W"},
      {"123", "123"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CapitalizeName(c.name), c.expected) << c.name;
  }
}

TEST(CleanCaptionTest, DropsOnlyTheFirstAmpersand) {
  EXPECT_EQ(CleanCaption("Show &Chart"), "Show Chart");
  EXPECT_EQ(CleanCaption("&&x"), "&x");
  EXPECT_EQ(CleanCaption("Plain"), "Plain");
}

TEST(SplitLinesTest, ReadsLfAndCrLf) {
  EXPECT_EQ(SplitLines("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(SplitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(ToDisplayUtf8Test, KeepsUtf8AndConvertsLatin1) {
  EXPECT_EQ(ToDisplayUtf8("Gr\xC3\xBC\xC3\x9F"), "Gr\xC3\xBC\xC3\x9F");
  EXPECT_EQ(ToDisplayUtf8("Gr\xFC\xDF"), "Gr\xC3\xBC\xC3\x9F");
  EXPECT_EQ(ToDisplayUtf8("\xC3"), "\xC3\x83");
}

TEST(ValueParserTest, FollowsTheNumberFormatFlag) {
  struct Case {
    const char* text;
    char flag;
    std::optional<double> expected;
  } cases[] = {
      {"12.500", 'D', 12500},
      {"No", 'D', 0},
      {"No", 'E', 0},
      {"12,500", 'E', 12500},
      {"3.75", 'E', 3.75},
      {"1.234", 'D', 1234},
      {"1,234.5", 'E', 1234.5},
      {"-4", 'E', -4},
      {" 42 ", 'E', 42},
      {"abc", 'E', std::nullopt},
      {"", 'E', std::nullopt},
      {"1.2.3", 'E', std::nullopt},
      {"0x10", 'E', std::nullopt},
      {"inf", 'E', std::nullopt},
      {"nan", 'D', std::nullopt},
      {"12,5", 'D', std::nullopt},
      {"-", 'E', std::nullopt},
      {".", 'E', std::nullopt},
      {"1e3", 'E', 1000},
      {"1e999", 'E', std::nullopt},
      {"no", 'E', std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseValue(c.text, c.flag), c.expected)
        << c.text << " " << c.flag;
  }
}

TEST(ColourLookupTest, ImageIndexOverridesName) {
  struct Case {
    const char* name;
    int image_index;
    Rgb expected;
  } cases[] = {
      {"clRed", 62, kLime},     {"clRed", 0, kRed},      {"nothing", 10, kNavy},
      {"clMaroon", 1, kMaroon}, {"nothing", 76, kRed},   {"clred", 0, kNavy},
      {"clTeal", 66, kAqua},    {"clAqua", 69, kYellow},
  };
  for (const Case& c : cases) {
    Rgb colour = kNavy;
    LookUpColour(c.name, c.image_index, colour);
    EXPECT_EQ(colour, c.expected) << c.name << " " << c.image_index;
  }
}

TEST(BarLabelTest, LastMatchingSlotWins) {
  const BarLabelSlots slots = {"01Cpu", "02Memory", "01Load", ""};
  EXPECT_EQ(LookUpBarLabel(slots, "01"), "Load");
  EXPECT_EQ(LookUpBarLabel(slots, "02"), "Memory");
  EXPECT_FALSE(LookUpBarLabel(slots, "03"));
}

TEST(RecordFieldTest, NamedPieces) {
  const std::string record =
      std::string("0102 Dialog    ") + std::string(62, ' ') + "a;Prog.Exe;b;T";
  EXPECT_EQ(RecordField("Sensor", record, ""), "Dialog");
  EXPECT_EQ(RecordField("Profile", record, ""), "a");
  EXPECT_EQ(RecordField("Pgrm", record, ""), "Prog");
  EXPECT_EQ(RecordField("Path", record, "/opt/x/run.sh"), "/opt/x");
  EXPECT_FALSE(RecordField("Path", record, "run.sh"));
  EXPECT_FALSE(RecordField("Other", record, ""));
  EXPECT_EQ(RecordField("Pgrm", "0102", ""), "");
  const std::string linux_program =
      std::string(77, ' ') + "a;vigil-sensor;b;T";
  EXPECT_EQ(RecordField("Pgrm", linux_program, ""), "vigil-sensor");
}

}  // namespace
}  // namespace vigil
