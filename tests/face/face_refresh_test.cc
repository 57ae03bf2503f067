#include "face/face_refresh.h"

#include <gtest/gtest.h>

#include "support/record_builder.h"

namespace vigil {
namespace {

using testing::RecordBuilder;

// A stand-in for the toolkit's text measurement: a fixed advance per
// character, different for the two fonts, plus the point size.
int FakeWidth(FaceFont font, int point_size, const std::string& text) {
  return static_cast<int>(text.size()) * (font == FaceFont::kScratch ? 6 : 7) +
         point_size;
}

ItemTable Table(std::initializer_list<ItemRow> rows) {
  ItemTable table;
  for (const ItemRow& row : rows) table.Append(row);
  return table;
}

ItemRow Row(std::string data, std::string unit, std::string item = "Load") {
  return {"01:",           std::move(item), std::move(data),
          std::move(unit), "clLime",        0};
}

class FaceRefreshTest : public ::testing::Test {
 protected:
  FaceRefreshPlan Refresh(const ItemTable& items) {
    settings_.record = record_.Text();
    return PlanFaceRefresh(items, values_, settings_, geometry_, FakeWidth,
                           state_);
  }

  RecordBuilder record_;
  OrbValues values_ = InitialOrbValues("AuxOrb");
  FaceSettings settings_;
  GaugeGeometry geometry_;  // the frameless 169 x 89 orb: Gauge 167 x 87
  FaceState state_;
};

TEST_F(FaceRefreshTest, FreshOrbWithASmallValue) {
  const FaceRefreshPlan plan = Refresh(Table({Row("3.5", "%")}));
  EXPECT_DOUBLE_EQ(state_.gauge_max, 10.5);
  EXPECT_NEAR(state_.gauge_percent, 33.3, 0.05);
  EXPECT_EQ(plan.pointer_file, "Gauges/PtBlk30.Bmp");
  const char* expected[] = {"10", "8", "6", "4", "2", "0"};
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(plan.marks[i].text, expected[i]);
  EXPECT_EQ(plan.value_label.text, "3.5 %");
  EXPECT_EQ(plan.image_caption, " My Title \r3.5 %");
}

TEST_F(FaceRefreshTest, ValueBelowOneShowsTheUnitScale) {
  const FaceRefreshPlan plan = Refresh(Table({Row("0.4", "#")}));
  EXPECT_DOUBLE_EQ(state_.gauge_max, 1);
  const char* expected[] = {"1.0", "0.8", "0.6", "0.4", "0.2", "0"};
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(plan.marks[i].text, expected[i]);
  EXPECT_EQ(plan.pointer_file, "Gauges/PtBlk40.Bmp");
}

TEST_F(FaceRefreshTest, ScaleKeepsItsLargestValueUntilReset) {
  Refresh(Table({Row("1234", "#")}));
  FaceRefreshPlan plan = Refresh(Table({Row("57", "#")}));
  EXPECT_DOUBLE_EQ(state_.gauge_max, 2000);
  EXPECT_EQ(plan.pointer_file, "Gauges/PtBlk00.Bmp");
  // "Reset Scale" sets the maximum to 0; the next refresh starts anew.
  state_.gauge_max = 0;
  plan = Refresh(Table({Row("57", "#")}));
  EXPECT_DOUBLE_EQ(state_.gauge_max, 60);
  EXPECT_EQ(plan.marks[0].text, "60");
}

TEST_F(FaceRefreshTest, PointerAtTheTopOfTheScale) {
  state_.gauge_max = 100;
  EXPECT_EQ(Refresh(Table({Row("96", "#")})).pointer_file,
            "Gauges/PtBlk99.Bmp");
  EXPECT_EQ(Refresh(Table({Row("95.9", "#")})).pointer_file,
            "Gauges/PtBlk90.Bmp");
}

TEST_F(FaceRefreshTest, ValueTexts) {
  struct Case {
    const char* data;
    const char* unit;
    char keep_data;
    double kept_increase;
    const char* expected;
  };
  const Case cases[] = {
      {"12", "#", '.', 0, "12"},
      {" 12 ", " mSec ", '.', 0, "12 mSec"},
      {"12", "%", '!', 5, "+ 5 %"},
      {"12", "#", '!', 2.5, "+ 2.5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    record_.keep_data = c.keep_data;
    values_.kept_increase = c.kept_increase;
    state_ = {};
    EXPECT_EQ(Refresh(Table({Row(c.data, c.unit)})).value_label.text,
              c.expected);
  }
}

TEST_F(FaceRefreshTest, KeptIncreaseDrivesTheScale) {
  record_.keep_data = '!';
  values_.kept_increase = 5;
  Refresh(Table({Row("400", "%")}));
  EXPECT_DOUBLE_EQ(state_.gauge_max, 10);
  EXPECT_DOUBLE_EQ(state_.gauge_percent, 50);
}

TEST_F(FaceRefreshTest, SuspendedOrbIsSilver) {
  values_.orb_colour = kSilver;
  const FaceRefreshPlan plan = Refresh(Table({Row("42", "%")}));
  EXPECT_EQ(plan.value_label.text, "Suspended");
  EXPECT_EQ(plan.label_colour, kSilver);
  EXPECT_EQ(plan.gauge_caption_colour, kBlack);
  EXPECT_EQ(plan.pointer_file, "Gauges/PtGry80.Bmp");  // 42 of 50
  EXPECT_FALSE(plan.flag.visible);
  EXPECT_EQ(plan.image_caption, " My Title \rSuspended");
}

TEST_F(FaceRefreshTest, GaugeNumberPicksLabelColoursAndPointer) {
  struct Case {
    char tens;
    char units;
    Rgb colour;
    const char* style;
  };
  const Case cases[] = {
      {'0', '7', kWhite, "Point"},
      {'0', '8', kBlack, "PtBlk"},
      {'0', '0', kBlack, "PtBlk"},
      {'1', '3', kWhite, "Point"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.units);
    record_.gauge_tens = c.tens;
    record_.gauge_units = c.units;
    const FaceRefreshPlan plan = Refresh(Table({Row("0", "#")}));
    EXPECT_EQ(plan.label_colour, c.colour);
    EXPECT_EQ(plan.gauge_caption_colour, c.colour);
    EXPECT_EQ(plan.pointer_file, std::string("Gauges/") + c.style + "00.Bmp");
  }
}

TEST_F(FaceRefreshTest, TitleWithASlashSplitsTheImageCaption) {
  record_.tail = "Dialog.Prf;Check.Exe;addr;Server / Disk";
  const FaceRefreshPlan plan = Refresh(Table({Row("1", "#")}));
  EXPECT_EQ(plan.image_caption, "Server\rDisk");
  EXPECT_EQ(plan.gauge_caption.text, " Server / Disk ");
  EXPECT_TRUE(state_.caption_shown);
  EXPECT_TRUE(state_.canned_result);
}

TEST_F(FaceRefreshTest, SecondCaptionLineIsCutAt99Characters) {
  record_.tail = "a;b;c;Head / " + std::string(120, 'z');
  const FaceRefreshPlan plan = Refresh(Table({Row("1", "#")}));
  // The title itself is at most 99 characters long.
  EXPECT_EQ(plan.image_caption, "Head\r" + std::string(99 - 7, 'z'));
}

TEST_F(FaceRefreshTest, EmptyTitleTakesCannedResults) {
  record_.tail = "Dialog.Prf;Check.Exe;addr;   ";
  const FaceRefreshPlan plan = Refresh(Table({Row("1", "#")}));
  EXPECT_EQ(plan.gauge_caption.text, "  ");
  EXPECT_FALSE(state_.caption_shown);
  EXPECT_TRUE(state_.canned_result);
  // A title again: the flags return to their normal values.
  record_.tail = "Dialog.Prf;Check.Exe;addr;Load";
  Refresh(Table({Row("1", "#")}));
  EXPECT_TRUE(state_.caption_shown);
  EXPECT_FALSE(state_.canned_result);
}

TEST_F(FaceRefreshTest, ImageNumberFromColumns28And77) {
  EXPECT_EQ(Refresh({}).image_file, "Images/Image00.Jpg");
  record_.image_tens = '1';
  record_.image_units = '4';
  EXPECT_EQ(Refresh({}).image_file, "Images/Image14.Jpg");
  record_.image_tens = ' ';
  record_.image_units = ' ';
  EXPECT_EQ(Refresh({}).image_file, "Images/Image00.Jpg");
}

TEST_F(FaceRefreshTest, EmptyTableOnAFreshOrb) {
  const FaceRefreshPlan plan = Refresh({});
  EXPECT_EQ(plan.value_label.text, "No Data");
  for (const PlacedText& mark : plan.marks) EXPECT_EQ(mark.text, "0");
  EXPECT_EQ(plan.pointer_file, "Gauges/PtBlk00.Bmp");
  EXPECT_DOUBLE_EQ(state_.gauge_max, 0);
}

TEST_F(FaceRefreshTest, EmptyTableKeepsTheScale) {
  Refresh(Table({Row("57", "#")}));
  const FaceRefreshPlan plan = Refresh({});
  EXPECT_DOUBLE_EQ(state_.gauge_max, 60);
  EXPECT_EQ(plan.value_label.text, "No Data");
  EXPECT_EQ(plan.pointer_file, "Gauges/PtBlk00.Bmp");
}

TEST_F(FaceRefreshTest, KeptItemChoosesTheRow) {
  const ItemTable table =
      Table({Row("1", "#", "A"), Row("2", "#", "B"), Row("30", "%", "C")});
  record_.chart_bars = "02xxxxxx";
  EXPECT_EQ(Refresh(table).value_label.text, "30 %");
  record_.chart_bars = "xx01xxxx";
  EXPECT_EQ(Refresh(table).value_label.text, "1");
}

TEST_F(FaceRefreshTest, KeptItemBeyondTheTableShowsNoData) {
  Refresh(Table({Row("20", "#")}));
  record_.chart_bars = "07xxxxxx";
  FaceRefreshPlan plan = Refresh(Table({Row("1", "#"), Row("500", "#")}));
  EXPECT_TRUE(plan.kept_item_missing);
  EXPECT_EQ(plan.value_label.text, "No Data");
  EXPECT_DOUBLE_EQ(state_.gauge_max, 20);  // kept, not grown by another row
  record_.chart_bars = "ab  xxxx";
  plan = Refresh(Table({Row("1", "#")}));
  EXPECT_TRUE(plan.kept_item_missing);
}

TEST_F(FaceRefreshTest, UnreadableValueShowsItsTextAndCountsAsZero) {
  record_.tail = "a;b;c;";
  const FaceRefreshPlan plan = Refresh(Table({Row("n/a", "%")}));
  EXPECT_TRUE(plan.value_unreadable);
  EXPECT_EQ(plan.value_label.text, "n/a %");
  EXPECT_DOUBLE_EQ(state_.gauge_max, 1);
  EXPECT_EQ(plan.pointer_file, "Gauges/PtBlk00.Bmp");
  // The later steps still ran.
  EXPECT_TRUE(state_.canned_result);
  EXPECT_EQ(plan.image_file, "Images/Image00.Jpg");
}

TEST_F(FaceRefreshTest, NumberFormatDecidesHowDataReads) {
  values_.number_format = 'D';
  Refresh(Table({Row("1.234", "#")}));
  EXPECT_DOUBLE_EQ(state_.gauge_max, 2000);
}

TEST_F(FaceRefreshTest, StateFlagAndCaptionColoursFollowTheOrbColour) {
  struct Case {
    Rgb orb;
    bool has_rules;
    bool flag_visible;
    const char* flag_text;
    Rgb flag_background;
    Rgb flag_text_colour;
    ImageCaptionColours caption;
  };
  const Case cases[] = {
      {kNeutral, false, false, "", kYellow, kBlack, {kTeal, kWhite, false}},
      {kLime, true, false, "", kYellow, kBlack, {kBlack, kWhite, false}},
      {kYellow,
       true,
       true,
       " Warning ",
       kYellow,
       kRed,
       {kBlack, kYellow, true}},
      {kRed, false, true, " Alert ", kRed, kYellow, {kYellow, kRed, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flag_text);
    values_.orb_colour = c.orb;
    settings_.has_rules = c.has_rules;
    const FaceRefreshPlan plan = Refresh(Table({Row("1", "#")}));
    EXPECT_EQ(plan.flag.visible, c.flag_visible);
    EXPECT_EQ(plan.image_caption_colours.text, c.caption.text);
    EXPECT_EQ(plan.image_caption_colours.background, c.caption.background);
    EXPECT_EQ(plan.image_caption_colours.opaque, c.caption.opaque);
    if (!c.flag_visible) continue;
    EXPECT_EQ(plan.flag.text, c.flag_text);
    EXPECT_EQ(plan.flag.background, c.flag_background);
    EXPECT_EQ(plan.flag.text_colour, c.flag_text_colour);
  }
}

TEST_F(FaceRefreshTest, PositionsOnTheCompactOrb) {
  values_.orb_colour = kRed;
  const FaceRefreshPlan plan = Refresh(Table({Row("3.5", "%")}));
  // Sizes: min(167 div 20, 87 div 14) and min(167 div 24, 87 div 18).
  EXPECT_EQ(plan.label_point_size, 6);
  EXPECT_EQ(plan.value_point_size, 4);
  EXPECT_EQ(plan.value_label.left, 5);
  EXPECT_EQ(plan.value_label.top, 49);
  // GLab03 "10" is 2 x 7 + 6 wide in the gauge font.
  EXPECT_EQ(plan.value_label_width, 167 - 10 - 8);
  // Right-hand marks end where the scratch label's width says.
  EXPECT_EQ(plan.marks[0].left, 130 - (2 * 6 + 6));
  EXPECT_EQ(plan.marks[0].top, 53);
  EXPECT_EQ(plan.marks[1].left, 135 - (1 * 6 + 6));
  EXPECT_EQ(plan.marks[1].top, 36);
  EXPECT_EQ(plan.marks[2].left, 121 - 12);
  EXPECT_EQ(plan.marks[2].top, 20);
  EXPECT_EQ(plan.marks[3].left, 53);
  EXPECT_EQ(plan.marks[4].left, 36);
  EXPECT_EQ(plan.marks[5].left, 41);
  EXPECT_EQ(plan.marks[5].top, 53);
  // " My Title " is 10 x 7 + 6 wide: centred on the window less 8.
  EXPECT_EQ(plan.gauge_caption.left, 84 - 38 - 8);
  EXPECT_EQ(plan.gauge_caption.top, 66);
  // " Alert " is 7 x 7 + 4 wide at the value's size.
  EXPECT_EQ(plan.flag.point_size, 4);
  EXPECT_EQ(plan.flag.left, 84 - 26 - 8);
  EXPECT_EQ(plan.flag.top, 31);
}

TEST_F(FaceRefreshTest, LabelSizeOffsetAddsPoints) {
  settings_.header.label_size_offset = 3;
  FaceRefreshPlan plan = Refresh({});
  EXPECT_EQ(plan.label_point_size, 9);
  EXPECT_EQ(plan.value_point_size, 5);  // half the offset
  // A tiny gauge still gets a point size the toolkit accepts.
  settings_.header.label_size_offset = -20;
  plan = Refresh({});
  EXPECT_EQ(plan.label_point_size, 1);
  EXPECT_EQ(plan.value_point_size, 1);
}

TEST_F(FaceRefreshTest, RepeatedRefreshGivesTheSamePlan) {
  const ItemTable table = Table({Row("57.3", "%")});
  const FaceRefreshPlan first = Refresh(table);
  const FaceState after_first = state_;
  const FaceRefreshPlan second = Refresh(table);
  EXPECT_DOUBLE_EQ(state_.gauge_max, after_first.gauge_max);
  EXPECT_DOUBLE_EQ(state_.gauge_percent, after_first.gauge_percent);
  EXPECT_EQ(second.pointer_file, first.pointer_file);
  EXPECT_EQ(second.image_caption, first.image_caption);
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(second.marks[i].text, first.marks[i].text);
    EXPECT_EQ(second.marks[i].left, first.marks[i].left);
  }
}

}  // namespace
}  // namespace vigil
