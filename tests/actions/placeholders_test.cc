#include "actions/placeholders.h"

#include <gtest/gtest.h>

#include <limits>

namespace vigil {
namespace {

PlaceholderValues Context() {
  PlaceholderValues values;
  values.display_name = "Dialog";
  values.trigger_value = 12.5;
  values.unit = "%";
  values.item = "Disk C:";
  values.state_code = 3;
  values.mail_body_file = "RfcOrb0102.Mls";
  return values;
}

struct SubstituteCase {
  const char* text;
  const char* expected;
};

class SubstituteTest : public ::testing::TestWithParam<SubstituteCase> {};

TEST_P(SubstituteTest, ReplacesFirstOccurrencesInOrder) {
  EXPECT_EQ(Substitute(GetParam().text, Context()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SubstituteTest,
    ::testing::Values(
        SubstituteCase{"", ""},
        SubstituteCase{"no placeholders here", "no placeholders here"},
        SubstituteCase{"%Sensor: %Channel is %Value %Unit (%State) %Result",
                       "Dialog: Disk C: is 12.5 % (Red/Alert) RfcOrb0102.Mls"},
        // Only the first occurrence of each is replaced.
        SubstituteCase{"%Value and %Value", "12.5 and %Value"},
        // Case matters.
        SubstituteCase{"%sensor %VALUE %channel", "%sensor %VALUE %channel"},
        SubstituteCase{"%Channel.txt", "Disk C:.txt"},
        SubstituteCase{"%Sens", "%Sens"}, SubstituteCase{"%%Unit%", "%%%"}));

TEST(SubstituteTest, LaterPlaceholdersAreFoundInEarlierValues) {
  PlaceholderValues values = Context();
  values.display_name = "Dialog %Unit";
  EXPECT_EQ(Substitute("%Sensor / %Unit", values), "Dialog % / %Unit");
  // A value can also complete a placeholder with the text that follows.
  values.display_name = "%Cha";
  EXPECT_EQ(Substitute("%Sensornnel", values), "Disk C:");
}

TEST(SubstituteTest, PiecesTellWhatCameFromValues) {
  const std::vector<TextPiece> pieces =
      SubstitutePieces("echo %Channel > %Unit.log", Context());
  ASSERT_EQ(pieces.size(), 5u);
  EXPECT_EQ(pieces[0].text, "echo ");
  EXPECT_FALSE(pieces[0].substituted);
  EXPECT_EQ(pieces[1].text, "Disk C:");
  EXPECT_TRUE(pieces[1].substituted);
  EXPECT_EQ(pieces[2].text, " > ");
  EXPECT_EQ(pieces[3].text, "%");
  EXPECT_TRUE(pieces[3].substituted);
  EXPECT_EQ(pieces[4].text, ".log");
  EXPECT_FALSE(pieces[4].substituted);
  EXPECT_EQ(JoinPieces(SubstitutePieces("x.log", Context())), "x.log");
}

TEST(StateWordTest, NamesEveryCode) {
  const std::vector<std::pair<int, std::string>> cases = {
      {0, "Unknown"},   {1, "Green/OK"},   {2, "Yellow/Warning"},
      {3, "Red/Alert"}, {4, "Red/Failed"}, {5, "Starting"},
      {6, "Stopped"},   {7, "Suspended"},  {8, "Resumed"},
      {9, "Unknown"},   {-1, "Unknown"}};
  for (const auto& [code, word] : cases) {
    EXPECT_EQ(StateWord(code), word) << code;
  }
}

TEST(FormatTriggerValueTest, ShortestGeneralForm) {
  const std::vector<std::pair<double, std::string>> cases = {
      {0, "0"},
      {12.5, "12.5"},
      {100, "100"},
      {-3.25, "-3.25"},
      {0.1, "0.1"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {123456789012345.0, "123456789012345"},
      {1234567890123456.0, "1.23456789012346E15"},
      {1e20, "1E20"},
      {0.00001, "0.00001"},
      {0.000012, "0.000012"},
      {0.0000099, "9.9E-6"},
      {-0.000001, "-1E-6"},
      {999999999999999.9, "1E15"},
  };
  for (const auto& [value, text] : cases) {
    EXPECT_EQ(FormatTriggerValue(value), text) << value;
  }
}

}  // namespace
}  // namespace vigil
