#include "face/chart_pieces.h"

#include <gtest/gtest.h>

namespace vigil {
namespace {

constexpr Rgb kA{255, 0, 0};
constexpr Rgb kB{0, 255, 0};
constexpr Rgb kC{0, 0, 255};

// Slot 1 with three points, the middle one of another colour, and slot 2
// with two points of one colour.
ChartContent TwoSlots(double first = 5) {
  ChartContent content = NewChartContent();
  content.series[0].points = {{first, "a", kA}, {-2, "b", kB}, {3, "c", kA}};
  content.series[1].points = {{4, "x", kB}, {6, "y", kB}};
  content.series[2].active = false;
  content.series[2].points = {{99, "z", kA}};
  return content;
}

std::vector<PieceKind> Kinds(const ChartPlan& plan) {
  std::vector<PieceKind> kinds;
  for (const ChartPiece& piece : plan.pieces) kinds.push_back(piece.kind);
  return kinds;
}

TEST(ChartPiecesTest, EachChartKindDrawsItsSeries) {
  using K = PieceKind;
  const struct {
    int chart_kind;
    std::vector<PieceKind> kinds;
    ValueRange range;
  } cases[] = {
      {0, {K::kBars, K::kBars}, {-2, 6}},
      // Slot 1's colours differ: a stretch of line for each of its points.
      {1, {K::kBars, K::kLine}, {-2, 6}},
      {2, {K::kHorizontalBars, K::kHorizontalBars}, {-2, 6}},
      // Every slot's sets in one series, reaching to the sums.
      {3, {K::kStackedBars}, {-2, 9}},
      {4, {K::kArea, K::kArea, K::kArea, K::kArea}, {-2, 6}},
      {5, {K::kLine, K::kLine, K::kLine, K::kLine}, {-2, 6}},
      {6, {K::kRectPoints, K::kPoints}, {-2, 6}},
      // A pie shows the positive points of slot 1 only.
      {7, {K::kPieDepth, K::kPie}, {0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chart_kind);
    const ChartPlan plan = PlanChart(c.chart_kind, TwoSlots());
    EXPECT_EQ(Kinds(plan), c.kinds);
    EXPECT_EQ(plan.range.low, c.range.low);
    EXPECT_EQ(plan.range.high, c.range.high);
  }
  const ChartPlan bars = PlanChart(0, TwoSlots());
  ASSERT_EQ(bars.pieces[0].sets.size(), 2u);
  EXPECT_EQ(bars.pieces[0].sets[0].values, (std::vector<double>{5, 0, 3}));
  EXPECT_EQ(bars.pieces[0].sets[1].values, (std::vector<double>{0, -2, 0}));
  EXPECT_EQ(bars.pieces[1].sets[0].values, (std::vector<double>{4, 6, 0}));
  EXPECT_TRUE(bars.pieces[0].gradient);
  EXPECT_FALSE(bars.pieces[1].gradient);
  EXPECT_EQ(PlanChart(3, TwoSlots()).pieces[0].sets.size(), 3u);
  const ChartPlan areas = PlanChart(4, TwoSlots());
  EXPECT_EQ(areas.pieces[1].points,
            (std::vector<PieceXY>{{0.5, 1.5}, {1, -2}, {1.5, 0.5}}));
  EXPECT_EQ(PlanChart(7, TwoSlots()).pieces[1].slices.size(), 2u);
}

TEST(ChartPiecesTest, NewValuesKeepTheShapeANewColourDoesNot) {
  for (int kind = 0; kind < kChartKinds; ++kind) {
    SCOPED_TRACE(kind);
    const ChartPlan drawn = PlanChart(kind, TwoSlots(5));
    const ChartPlan moved = PlanChart(kind, TwoSlots(8));
    ChartContent recoloured = TwoSlots(5);
    recoloured.series[0].points[2].colour = kC;
    const ChartPlan other = PlanChart(kind, recoloured);
    EXPECT_NE(drawn.pieces, moved.pieces);
    for (size_t i = 0; i < drawn.pieces.size(); ++i) {
      EXPECT_TRUE(SameShape(drawn.pieces[i], moved.pieces[i]));
    }
    bool same = drawn.pieces.size() == other.pieces.size();
    for (size_t i = 0; same && i < drawn.pieces.size(); ++i) {
      same = SameShape(drawn.pieces[i], other.pieces[i]);
    }
    EXPECT_FALSE(same);
  }
}

}  // namespace
}  // namespace vigil
