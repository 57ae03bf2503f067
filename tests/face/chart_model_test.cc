#include "face/chart_model.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/record_builder.h"

namespace vigil {
namespace {

using testing::RecordBuilder;

ItemRow Row(std::string item, std::string data, std::string unit = "%",
            std::string color = "clLime", int image = 0) {
  return {"01:",           std::move(item),  std::move(data),
          std::move(unit), std::move(color), image};
}

ItemTable Table(std::initializer_list<ItemRow> rows) {
  ItemTable table;
  for (const ItemRow& row : rows) table.Append(row);
  return table;
}

std::vector<std::string> Labels(const SeriesSlot& slot) {
  std::vector<std::string> labels;
  for (const ChartPoint& point : slot.points) labels.push_back(point.label);
  return labels;
}

std::vector<double> Values(const SeriesSlot& slot) {
  std::vector<double> values;
  for (const ChartPoint& point : slot.points) values.push_back(point.value);
  return values;
}

class ChartModelTest : public ::testing::Test {
 protected:
  ChartBuildResult Build(const ItemTable& items,
                         const std::string& time = "10:00") {
    record_text_ = record_.Text();
    ChartBuildInput input;
    input.chart_kind = CurrentChartKind(record_text_);
    input.record = record_text_;
    input.title = "Orb Title";
    input.time_label = time;
    return BuildChart(items, input, chart_, state_);
  }

  RecordBuilder record_;
  std::string record_text_;
  ChartContent chart_ = NewChartContent();
  ChartState state_;
};

TEST_F(ChartModelTest, LabelCuts) {
  struct Case {
    std::vector<std::string> items;
    std::vector<std::string> labels;
  };
  const Case cases[] = {
      {{"Disk C free", "Disk D free", "Disk E free"},
       {"C free", "D free", "E free"}},
      {{"C free", "D free"}, {"C", "D"}},
      {{"CPU", "Memory"}, {"CPU", "Memory"}},
      {{"Disk C", "Disk D", "Swap"}, {"Disk C", "Disk D", "Swap"}},
      {{"Net eth0 in", "Net eth0 out"}, {"in", "out"}},
      {{"a b c", "x b c"}, {"a", "x"}},  // the leftmost shared blank wins
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.items.front());
    ItemTable table;
    for (const std::string& item : c.items) table.Append(Row(item, "1"));
    chart_ = NewChartContent();
    Build(table);
    EXPECT_EQ(Labels(chart_.series[0]), c.labels);
  }
}

TEST_F(ChartModelTest, MaxBarsCountsRowsOfOtherUnitsWithoutDrawingThem) {
  record_.max_bars = "03";
  Build(Table({Row("A", "1", "%"), Row("B", "2", "%"), Row("C", "3", "mSec"),
               Row("D", "4", "%")}));
  EXPECT_EQ(Values(chart_.series[0]), (std::vector<double>{1, 2}));
  EXPECT_EQ(state_.chart_unit, "%");
}

TEST_F(ChartModelTest, LabelCutConsidersOnlyTheCountedRows) {
  record_.max_bars = "02";
  Build(Table({Row("Disk C", "1"), Row("Disk D", "2"), Row("Swap", "3")}));
  EXPECT_EQ(Labels(chart_.series[0]), (std::vector<std::string>{"C", "D"}));
}

TEST_F(ChartModelTest, KeptItemAloneStartsTheBarsWithoutCuts) {
  record_.chart_bars = "02xxxxxx";
  Build(Table({Row("Disk A", "1", "%"), Row("Disk B", "2", "%"),
               Row("Disk C", "3", "mSec"), Row("Disk D", "4", "%"),
               Row("Disk E", "5", "mSec")}));
  EXPECT_EQ(Labels(chart_.series[0]),
            (std::vector<std::string>{"Disk C", "Disk E"}));
  EXPECT_EQ(state_.chart_unit, "mSec");
}

TEST_F(ChartModelTest, KeptItemOnAMultiSensorOrbDoesNotDecide) {
  record_.chart_bars = "01xxxxxx";
  record_.tail = "s;p;id=1#id=2;T";
  Build(Table({Row("Disk A", "1"), Row("Disk B", "2")}));
  EXPECT_EQ(Labels(chart_.series[0]), (std::vector<std::string>{"A", "B"}));
}

TEST_F(ChartModelTest, BarListWithMaxBars) {
  const ItemTable table =
      Table({Row("R0", "0"), Row("R1", "1"), Row("R2", "2"),
             Row("R3", "3", "mSec"), Row("R4", "4"), Row("R5", "5")});
  struct Case {
    const char* bars;
    const char* max_bars;
    std::vector<double> values;
  };
  const Case cases[] = {
      {"020305xx", "02", {2, 3}},
      {"020305xx", "00", {2, 3, 5}},
      {"020305xx", "03", {2, 3, 5}},
      {"05040302", "00", {5, 4, 3, 2}},  // no unit test with a bar list
      {"05040302", "01", {5}},
      {"0104xx02", "00", {1, 4, 2}},  // "xx" ends nothing, just skips
      {"xx03xxxx", "00", {3}},        // a first "xx" names no row
      {"0209xx07", "00", {2}},        // indexes beyond the table: skipped
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.bars) + " " + c.max_bars);
    record_.chart_bars = c.bars;
    record_.max_bars = c.max_bars;
    Build(table);
    EXPECT_EQ(Values(chart_.series[0]), c.values);
  }
}

TEST_F(ChartModelTest, KeptItemBeyondTheTableDrawsNothing) {
  record_.chart_bars = "09xxxxxx";
  Build(Table({Row("A", "1"), Row("B", "2")}));
  EXPECT_TRUE(chart_.series[0].points.empty());
}

TEST_F(ChartModelTest, BarColoursComeFromTheColourLookup) {
  state_.point_colour = kNavy;
  Build(Table({Row("A", "1", "%", "clRed"), Row("B", "2", "%", "clRed", 62),
               Row("C", "3", "%", "unknown"), Row("D", "4", "%", "clTeal")}));
  const auto& points = chart_.series[0].points;
  ASSERT_EQ(points.size(), 4u);
  EXPECT_EQ(points[0].colour, kRed);
  EXPECT_EQ(points[1].colour, kLime);  // the image index wins
  EXPECT_EQ(points[2].colour, kLime);  // no match: the colour stays
  EXPECT_EQ(points[3].colour, kTeal);
  EXPECT_EQ(state_.point_colour, kTeal);
}

TEST_F(ChartModelTest, BarModeRebuildsFromEmptyEveryTime) {
  Build(Table({Row("A", "1"), Row("B", "2")}));
  Build(Table({Row("A", "5")}));
  EXPECT_EQ(Values(chart_.series[0]), (std::vector<double>{5}));
  EXPECT_FALSE(chart_.history_started);
  EXPECT_EQ(chart_.title, "Orb Title");
  Build({});
  EXPECT_TRUE(chart_.series[0].points.empty());
  EXPECT_FALSE(chart_.series[1].active);
}

TEST_F(ChartModelTest, UnreadableValuesAreSkippedInBars) {
  const ChartBuildResult result =
      Build(Table({Row("A", "1"), Row("B", "oops"), Row("C", "3")}));
  EXPECT_EQ(result.unreadable_values, 1);
  EXPECT_EQ(Labels(chart_.series[0]), (std::vector<std::string>{"A", "C"}));
}

TEST_F(ChartModelTest, LegendByChartKind) {
  for (char kind : std::string("01234567")) {
    record_.chart_type = kind;
    const ChartBuildResult result = Build(Table({Row("A", "1")}));
    const bool allowed = kind != '1' && kind != '3' && kind != '6';
    EXPECT_EQ(result.legend_allowed, allowed) << kind;
    EXPECT_EQ(result.hide_legend, !allowed) << kind;
  }
}

TEST_F(ChartModelTest, ChartKindOutsideTheRangeFallsBackToBars) {
  EXPECT_EQ(CurrentChartKind(std::string(17, ' ') + "9"), 0);
  EXPECT_EQ(CurrentChartKind(std::string(17, ' ') + " "), 0);
  EXPECT_EQ(CurrentChartKind(std::string(17, ' ') + "5"), 5);
  EXPECT_EQ(CurrentChartKind(""), 0);
}

TEST_F(ChartModelTest, HistoryKeepsTheNewestPoints) {
  record_.chart_mode = 'x';
  record_.chart_bars = "00xxxxxx";
  record_.history_bars = "003";
  const char* times[] = {"10:01", "10:02", "10:03", "10:04", "10:05"};
  ChartBuildResult result;
  for (int cycle = 0; cycle < 4; ++cycle) {
    result =
        Build(Table({Row("Load", std::to_string(cycle + 1))}), times[cycle]);
  }
  EXPECT_TRUE(result.history_shifted);
  EXPECT_EQ(Values(chart_.series[0]), (std::vector<double>{2, 3, 4}));
  EXPECT_EQ(Labels(chart_.series[0]),
            (std::vector<std::string>{"10:02", "10:03", "10:04"}));
  EXPECT_EQ(state_.history.count, 2);
  result = Build(Table({Row("Load", "5")}), times[4]);
  EXPECT_EQ(Values(chart_.series[0]), (std::vector<double>{3, 4, 5}));
  EXPECT_EQ(state_.history.labels[2], "10:05");
}

TEST_F(ChartModelTest, HistoryOfSeveralItems) {
  record_.chart_mode = 'x';
  record_.chart_bars = "02xx00xx";
  const ItemTable table =
      Table({Row("Disk C", "10"), Row("Disk D", "20"), Row("Disk E", "30")});
  const ChartBuildResult first = Build(table, "09:00");
  EXPECT_TRUE(first.hide_legend);
  EXPECT_TRUE(chart_.history_started);
  EXPECT_EQ(chart_.title, "Orb Title");
  EXPECT_EQ(chart_.series[0].title, "E");
  EXPECT_EQ(chart_.series[1].title, "C");
  EXPECT_TRUE(chart_.series[1].active);
  EXPECT_FALSE(chart_.series[2].active);
  EXPECT_EQ(chart_.series[2].title, "");
  EXPECT_EQ(state_.bar_labels[0], "02Disk E");
  EXPECT_EQ(state_.bar_labels[1], "00Disk C");
  Build(table, "09:01");
  EXPECT_EQ(Values(chart_.series[0]), (std::vector<double>{30, 30}));
  EXPECT_EQ(Values(chart_.series[1]), (std::vector<double>{10, 10}));
  EXPECT_EQ(chart_.series[1].points[1].colour, kSlotColours[1]);
  EXPECT_DOUBLE_EQ(state_.history.values[1][1], 10);
  EXPECT_EQ(state_.history.labels[1], "09:01");
}

TEST_F(ChartModelTest, BarLabelSlotsAreSetOnce) {
  record_.chart_mode = 'x';
  record_.chart_bars = "00xxxxxx";
  state_.bar_labels[0] = "05Earlier";
  Build(Table({Row("Load", "1")}));
  EXPECT_EQ(state_.bar_labels[0], "05Earlier");
}

TEST_F(ChartModelTest, HistoryWithoutAKeptItemDrawsNothing) {
  record_.chart_mode = 'x';
  record_.chart_bars = "xx01xxxx";
  Build(Table({Row("A", "1"), Row("B", "2")}));
  EXPECT_FALSE(chart_.history_started);
  for (const SeriesSlot& slot : chart_.series) EXPECT_TRUE(slot.points.empty());
}

TEST_F(ChartModelTest, HistoryBarsAreHeldInRange) {
  struct Case {
    const char* field;
    int bars;
  };
  const Case cases[] = {{"003", 3}, {"099", 99},  {"100", 100}, {"250", 100},
                        {"000", 1}, {"   ", 100}, {"abc", 100}};
  for (const Case& c : cases) {
    record_.history_bars = c.field;
    EXPECT_EQ(HistoryBars(record_.Text()), c.bars) << c.field;
  }
}

TEST_F(ChartModelTest, LongHistoryStaysInsideItsRows) {
  record_.chart_mode = 'x';
  record_.chart_bars = "00010203";
  record_.history_bars = "999";
  const ItemTable table =
      Table({Row("A", "1"), Row("B", "2"), Row("C", "3"), Row("D", "4")});
  for (int cycle = 0; cycle < 150; ++cycle) Build(table);
  for (const SeriesSlot& slot : chart_.series) {
    EXPECT_EQ(slot.points.size(), size_t(kMaxHistoryBars));
  }
  EXPECT_LT(state_.history.count, kHistoryRows);
}

TEST_F(ChartModelTest, HistoryBelowOneKeepsOnePoint) {
  record_.chart_mode = 'x';
  record_.chart_bars = "00xxxxxx";
  record_.history_bars = "000";
  for (int cycle = 1; cycle <= 4; ++cycle) {
    Build(Table({Row("A", std::to_string(cycle))}));
  }
  EXPECT_EQ(Values(chart_.series[0]), (std::vector<double>{4}));
}

TEST_F(ChartModelTest, HistoryTakesZeroForUnreadableOrMissingRows) {
  record_.chart_mode = 'x';
  record_.chart_bars = "0007xxxx";
  const ChartBuildResult result = Build(Table({Row("A", "--")}));
  EXPECT_EQ(result.unreadable_values, 1);
  EXPECT_EQ(Values(chart_.series[0]), (std::vector<double>{0}));
  EXPECT_EQ(Values(chart_.series[1]), (std::vector<double>{0}));
}

TEST_F(ChartModelTest, PieKeepsOnlyItsFirstSlot) {
  record_.chart_type = '7';
  record_.chart_mode = 'x';
  record_.chart_bars = "0001xxxx";
  Build(Table({Row("A", "1"), Row("B", "2")}));
  EXPECT_EQ(chart_.series[0].points.size(), 1u);
  EXPECT_TRUE(chart_.series[1].points.empty());
}

// A bar chart's legend names its items, a history chart's its slots.
TEST_F(ChartModelTest, LegendEntries) {
  struct Case {
    char kind;
    char mode;
    const char* bars;
    std::vector<LegendEntry> entries;
  };
  const Case cases[] = {
      {'0', '.', "xxxxxxxx", {{"C free", kRed}, {"D free", kLime}}},
      {'7', '.', "xxxxxxxx", {{"C free", kRed}, {"D free", kLime}}},
      {'5', '.', "01xxxxxx", {{"Disk D free", kLime}}},
      {'4',
       'x',
       "0100xxxx",
       {{"D free", kSlotColours[0]}, {"C free", kSlotColours[1]}}},
      {'7', 'x', "0100xxxx", {{"D free", kSlotColours[0]}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE((std::string{c.kind, c.mode, ' '} + c.bars));
    record_.chart_type = c.kind;
    record_.chart_mode = c.mode;
    record_.chart_bars = c.bars;
    chart_ = NewChartContent();
    state_ = {};
    Build(Table({Row("Disk C free", "1", "%", "clRed"),
                 Row("Disk D free", "2", "%", "clLime")}));
    EXPECT_EQ(LegendListsPoints(chart_), c.mode != 'x');
    EXPECT_EQ(LegendEntries(chart_), c.entries);
  }
}

TEST(LayOutLegendTest, Cases) {
  const LegendMetrics metrics{
      .box = 9, .gap = 3, .spacing = 8, .min_text = 20, .ellipsis = 6};
  // entry, x, row, text width
  using Place = std::tuple<size_t, int, int, int>;
  struct Case {
    const char* what;
    std::vector<int> widths;
    int width;
    int max_rows;
    std::vector<Place> places;
    int rows;
    std::optional<int> ellipsis_x = std::nullopt;
  };
  const Case cases[] = {
      {"one centred row", {20, 30}, 100, 2, {{0, 9, 0, 20}, {1, 49, 0, 30}}, 1},
      {"wraps",
       {30, 30, 30},
       100,
       2,
       {{0, 4, 0, 30}, {1, 54, 0, 30}, {2, 29, 1, 30}},
       2},
      {"cut to one width before leaving out",
       {60, 10, 60},
       110,
       1,
       {{0, 0, 0, 24}, {1, 44, 0, 10}, {2, 74, 0, 24}},
       1},
      {"longer than a row", {300}, 100, 1, {{0, 0, 0, 88}}, 1},
      {"left out, marked", {30, 30, 30, 30}, 80, 1, {{0, 17, 0, 20}}, 1, 57},
      {"none", {}, 100, 2, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const LegendLayout layout =
        LayOutLegend(c.widths, c.width, c.max_rows, metrics);
    std::vector<Place> places;
    for (const LegendPlace& p : layout.places) {
      places.emplace_back(p.entry, p.x, p.row, p.text_width);
      EXPECT_LE(p.x + metrics.box + metrics.gap + p.text_width, c.width);
    }
    EXPECT_EQ(places, c.places);
    EXPECT_EQ(layout.rows, c.rows);
    EXPECT_EQ(layout.ellipsis_x, c.ellipsis_x);
  }
}

TEST(ShortenSeriesTitlesTest, Cases) {
  using Titles = std::array<std::string, 4>;
  struct Case {
    Titles before;
    Titles after;
  };
  const Case cases[] = {
      {{"Disk C", "Disk D", "", ""}, {"C", "D", "", ""}},
      {{"C Load", "D Load", "", ""}, {"C ", "D ", "", ""}},
      {{"Disk C", "", "", ""}, {"C", "", "", ""}},
      {{"CPU", "", "", ""}, {"", "", "", ""}},
      {{"CPU", "CPU Load", "", ""}, {"", "Load", "", ""}},
      {{"CPU", "Memory", "", ""}, {"CPU", "Memory", "", ""}},
      {{"A x", "B y", "C z", ""}, {"A x", "B y", "C z", ""}},
      {{"Net in", "Net out", "Net err", "Net drop"},
       {"in", "out", "err", "drop"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before[0] + "|" + c.before[1]);
    ChartContent chart = NewChartContent();
    for (size_t k = 0; k < 4; ++k) chart.series[k].title = c.before[k];
    ShortenSeriesTitles(chart);
    for (size_t k = 0; k < 4; ++k) EXPECT_EQ(chart.series[k].title, c.after[k]);
  }
}

TEST(ChartContentTest, NewChartHasTheSlotDefaults) {
  const ChartContent chart = NewChartContent();
  EXPECT_EQ(chart.series[0].title, "Test01");
  EXPECT_EQ(chart.series[3].title, "Test04");
  EXPECT_EQ(chart.series[0].colour, (Rgb{0x80, 0xFF, 0xFF}));
  EXPECT_EQ(chart.series[3].colour, (Rgb{0xFF, 0x80, 0x40}));
  EXPECT_FALSE(chart.history_started);
}

}  // namespace
}  // namespace vigil
