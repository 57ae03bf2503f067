// The chart builder's model: which points, labels, colours and titles the
// four series slots of the current chart get, in the bar mode (one point
// per item) and in the history mode (a rolling series of chosen items),
// and what the legend lists. The chart widgets only draw what this
// computes.
#ifndef VIGIL_FACE_CHART_MODEL_H_
#define VIGIL_FACE_CHART_MODEL_H_

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "face/chart_kind.h"
#include "monitor/item_table.h"
#include "store/bar_labels.h"
#include "store/colour.h"
#include "store/config_record.h"

namespace vigil {

inline constexpr int kSeriesSlots = 4;
inline constexpr int kHistoryRows = 101;
// The history keeps at most this many points, so that it fits its rows.
inline constexpr int kMaxHistoryBars = kHistoryRows - 1;

// The slots' own colours, the default colour of their points.
inline constexpr std::array<Rgb, kSeriesSlots> kSlotColours = {
    RgbFromBgr(0xFFFF80), RgbFromBgr(0x00FF80), kYellow, RgbFromBgr(0x4080FF)};

struct ChartPoint {
  double value = 0;
  std::string label;
  Rgb colour;
  friend bool operator==(const ChartPoint&, const ChartPoint&) = default;
};

struct SeriesSlot {
  std::string title;
  bool active = true;
  Rgb colour;
  std::vector<ChartPoint> points;
};

// One chart widget's series and its tag.
struct ChartContent {
  std::array<SeriesSlot, kSeriesSlots> series;  // "slots" is a Qt keyword
  std::string title;
  // The tag: a history chart has been started and the next build appends.
  bool history_started = false;
};

// Slots titled "Test01" to "Test04" in their own colours.
ChartContent NewChartContent();

// HistoryValues, HistoryLabels and HistoryCount.
struct HistoryState {
  std::array<std::array<double, kSeriesSlots>, kHistoryRows> values{};
  std::array<std::string, kHistoryRows> labels;
  int count = 0;  // the index of the newest point
};

// Every slot's points anew from the first `rows` history rows, in the
// slots' own colours.
void FillSlotsFromHistory(const HistoryState& history, int rows,
                          ChartContent& chart);

// Orb-wide values the builder keeps between builds.
struct ChartState {
  HistoryState history;
  BarLabelSlots bar_labels;  // two-digit index and item name, set once
  Rgb point_colour;          // set by the colour lookup before each bar
  std::string chart_unit;    // ChartUnit: the reference row's unit
};

struct ChartBuildInput {
  int chart_kind = 0;  // 0 to 7
  ConfigRecord record;
  std::string_view title;  // the orb title
  char number_format = 'E';
  std::string time_label;  // "hh:mm" of this build
};

struct ChartBuildResult {
  bool legend_allowed = true;    // the legend entry of the menu is enabled
  bool hide_legend = false;      // the build hid the legend
  bool history_shifted = false;  // a full history moved by one point
  // Data fields the value parser could not read: bars skip them, history
  // points take 0 so that the slots stay aligned in time.
  int unreadable_values = 0;
};

// Chart kind of column 18; a value outside "0" to "7" falls back to 0.
int CurrentChartKind(const ConfigRecord& record);

// Whether the kind can show a legend (not B/Line, Stack or Points).
bool LegendAllowed(int chart_kind);

// Column 25 "x": the history mode.
bool IsHistoryMode(const ConfigRecord& record);

// History bars of columns 52-54, held within 1 and kMaxHistoryBars.
int HistoryBars(const ConfigRecord& record);

// ChartClick's model part: rebuilds the chart's slots from the item table.
ChartBuildResult BuildChart(const ItemTable& items,
                            const ChartBuildInput& input, ChartContent& chart,
                            ChartState& state);

// Cuts the words that every non-empty slot title shares: the first word
// of slot 1's title, else its last word.
void ShortenSeriesTitles(ChartContent& chart);

struct LegendEntry {
  std::string text;
  Rgb colour;
  friend bool operator==(const LegendEntry&, const LegendEntry&) = default;
};

// Whether the legend names the points of slot 1 (the items of a bar
// chart) rather than the slots (the chosen items of a history chart).
bool LegendListsPoints(const ChartContent& chart);

// The legend's entries: each point of slot 1 with its label and colour, or
// each drawn slot with its title and colour.
std::vector<LegendEntry> LegendEntries(const ChartContent& chart);

// Sizes of the legend in pixels, measured by whoever draws it.
struct LegendMetrics {
  int box = 0;       // side of a colour box
  int gap = 0;       // between a box and its text
  int spacing = 0;   // between two entries of a row
  int min_text = 0;  // the narrowest a text is cut to
  int ellipsis = 0;  // the mark that closes a legend that lost entries
};

struct LegendPlace {
  size_t entry = 0;  // index into the entries
  int x = 0;         // left of the colour box
  int row = 0;
  int text_width = 0;  // room for the text; a wider text is cut
};

struct LegendLayout {
  std::vector<LegendPlace> places;
  int rows = 0;
  // Entries that did not fit: the mark sits at this x in the last row.
  std::optional<int> ellipsis_x;
};

// Flows the entries, given their text widths, into at most max_rows rows
// of the given width, each row centred. Long texts are cut to a common
// width before any entry is left out.
LegendLayout LayOutLegend(const std::vector<int>& text_widths, int width,
                          int max_rows, const LegendMetrics& metrics);

}  // namespace vigil

#endif  // VIGIL_FACE_CHART_MODEL_H_
