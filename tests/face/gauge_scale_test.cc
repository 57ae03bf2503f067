#include "face/gauge_scale.h"

#include <gtest/gtest.h>

#include <array>

namespace vigil {
namespace {

TEST(GaugeScaleTest, ScaleMaximumRoundsUpKeepingTheFraction) {
  struct Case {
    double gauge_max;
    double value;
    double expected;
  };
  const Case cases[] = {
      {0, 3.5, 10.5},  // below 10: up to the next ten
      {0, 0.4, 1},     // at least 1
      {0, 0, 1},
      {0, -7, 1},
      {0, 57.3, 60.3},  // below 100: to the next multiple of ten
      {0, 1234, 2000},  // above 1000: to the next thousand
      {0, 1, 1},        // round numbers stay
      {0, 10, 10},
      {0, 100, 100},
      {0, 1000, 1000},
      {0, 5, 10},
      {0, 9.99, 10.99},
      {0, 99.5, 100.5},  // 100.5: its integer part is a multiple of 100
      {0, 250, 300},
      {0, 1000.5, 1000.5},
      {0, 1e12 + 1, 1e12 + 1000},
      {2000, 57, 2000},  // never shrinks by itself
      {60, 12, 60},
      {10.5, 11, 20},  // grows with a larger value
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.gauge_max << " / " << c.value);
    EXPECT_DOUBLE_EQ(ScaleMaximum(c.gauge_max, c.value), c.expected);
  }
}

TEST(GaugeScaleTest, ScaleMaximumIsStableOnceRounded) {
  for (double value : {0.3, 3.5, 42.0, 57.3, 99.5, 640.0, 1234.0, 98765.4}) {
    const double once = ScaleMaximum(0, value);
    EXPECT_DOUBLE_EQ(ScaleMaximum(once, value), once) << value;
  }
}

TEST(GaugeScaleTest, MarkTexts) {
  using Marks = std::array<std::string, 6>;
  EXPECT_EQ(ScaleMarkTexts(10.5), (Marks{"10", "8", "6", "4", "2", "0"}));
  EXPECT_EQ(ScaleMarkTexts(1), (Marks{"1.0", "0.8", "0.6", "0.4", "0.2", "0"}));
  EXPECT_EQ(ScaleMarkTexts(0), (Marks{"0", "0", "0", "0", "0", "0"}));
  EXPECT_EQ(ScaleMarkTexts(2000),
            (Marks{"2000", "1600", "1200", "800", "400", "0"}));
  EXPECT_EQ(ScaleMarkTexts(60.3), (Marks{"60", "48", "36", "24", "12", "0"}));
  EXPECT_EQ(ScaleMarkTexts(1000),
            (Marks{"1000", "800", "600", "400", "200", "0"}));
}

TEST(GaugeScaleTest, NumberTextIsShortAndUsesAPoint) {
  EXPECT_EQ(NumberText(5), "5");
  EXPECT_EQ(NumberText(-2.5), "-2.5");
  EXPECT_EQ(NumberText(0.1 + 0.2), "0.3");  // 15 significant digits
  EXPECT_EQ(NumberText(1234567.25), "1234567.25");
  EXPECT_EQ(NumberText(0), "0");
}

TEST(GaugeScaleTest, PointerPartByPercent) {
  struct Case {
    double percent;
    const char* part;
  };
  const Case cases[] = {
      {100, "99"}, {96, "99"},   {95.9, "90"}, {86, "90"}, {85.99, "80"},
      {76, "80"},  {66, "70"},   {56, "60"},   {50, "50"}, {46, "50"},
      {36, "40"},  {40, "40"},   {33.3, "30"}, {26, "30"}, {16, "20"},
      {6, "10"},   {5.99, "00"}, {2.85, "00"}, {0, "00"},  {-12, "00"},
      {250, "99"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PointerPart(c.percent), c.part) << c.percent;
  }
}

TEST(GaugeScaleTest, GaugePercentWithoutAMaximumIsTheValue) {
  EXPECT_DOUBLE_EQ(GaugePercent(3.5, 10.5), 100 * 3.5 / 10.5);
  EXPECT_DOUBLE_EQ(GaugePercent(57, 2000), 2.85);
  EXPECT_DOUBLE_EQ(GaugePercent(0, 0), 0);
  EXPECT_DOUBLE_EQ(GaugePercent(4, 0), 4);
}

TEST(GaugeScaleTest, DialBrightnessAndPointerStyleFollowTheUnitsDigit) {
  for (char digit : std::string("02468")) {
    EXPECT_TRUE(IsLightDial(digit)) << digit;
    EXPECT_EQ(PointerStyle(kNeutral, digit), "PtBlk") << digit;
  }
  for (char digit : std::string("13579 x")) {
    EXPECT_FALSE(IsLightDial(digit)) << digit;
    EXPECT_EQ(PointerStyle(kRed, digit), "Point") << digit;
  }
  EXPECT_EQ(PointerStyle(kSilver, '0'), "PtGry");
  EXPECT_EQ(PointerStyle(kSilver, '7'), "PtGry");
}

}  // namespace
}  // namespace vigil
