#include "face/chart_model.h"

#include <algorithm>
#include <optional>

#include "face/chart_bars.h"
#include "store/colour_lookup.h"
#include "store/text.h"
#include "store/value_parser.h"

namespace vigil {
namespace {

constexpr int kUnlimitedBars = 99;

// The common leading part (q) or, without one, the cut position of the
// common trailing words (e), both 1-based as the item names count.
struct LabelCut {
  int prefix = 0;
  int end = 0;
};

bool AllAgree(const ItemTable& items, size_t considered, auto&& same_as_first) {
  for (size_t i = 0; i < considered; ++i) {
    if (!same_as_first(items[i].item)) return false;
  }
  return true;
}

LabelCut FindLabelCut(const ItemTable& items, size_t considered) {
  LabelCut cut;
  const std::string& first = items[0].item;
  const int length = static_cast<int>(first.size());
  for (int p = 1; p <= length; ++p) {
    if (first[p - 1] != ' ') continue;
    const std::string lead = Mid(first, 1, p - 1);
    if (AllAgree(items, considered, [&](const std::string& item) {
          return Mid(item, 1, p - 1) == lead;
        })) {
      cut.prefix = p - 1;
    }
  }
  if (cut.prefix > 0) return cut;
  for (int p = length; p >= 1; --p) {
    if (first[p - 1] != ' ') continue;
    const std::string rest = Mid(first, p + 1);
    if (AllAgree(items, considered, [&](const std::string& item) {
          return Mid(item, p + 1) == rest;
        })) {
      cut.end = p;
    }
  }
  return cut;
}

std::string CutLabel(const std::string& item, const LabelCut& cut) {
  if (cut.prefix > 0) return Mid(item, cut.prefix + 2);
  if (cut.end > 0) return Mid(item, 1, cut.end - 1);
  return item;
}

bool IsMultiSensor(const ConfigRecord& record) {
  return record.tail().address.find('#') != std::string::npos;
}

class BarBuilder {
 public:
  BarBuilder(const ItemTable& items, const ChartBuildInput& input,
             SeriesSlot& slot, ChartState& state, ChartBuildResult& result)
      : items_(items),
        input_(input),
        slot_(slot),
        state_(state),
        result_(result) {}

  void Build() {
    const ConfigRecord& record = input_.record;
    const int max_bars = MaxBars(record);
    size_t considered = items_.size();
    if (max_bars > 0) considered = std::min(considered, size_t(max_bars));
    cut_ = FindLabelCut(items_, considered);

    const ItemRow* reference = &items_[0];
    size_t start_row = 0;
    const auto bars = ChartBarFields(record);
    if (!IsMultiSensor(record) && bars[0] != kNoBar && !HasBarList(record)) {
      // The kept item alone: bars from its row on, in its unit, uncut. An
      // index naming no row draws nothing rather than some other row.
      cut_ = {};
      start_row = BarIndex(bars[0]).value_or(items_.size());
      if (const ItemRow* kept = items_.RowAt(start_row)) reference = kept;
    }
    state_.chart_unit = reference->unit;

    if (!HasBarList(record)) {
      const int limit = max_bars > 0 ? max_bars : kUnlimitedBars;
      int counted = 0;
      for (size_t i = start_row; i < items_.size() && counted < limit; ++i) {
        ++counted;
        if (items_[i].unit == state_.chart_unit) AddBar(items_[i]);
      }
      return;
    }
    // A bar list names its rows; the limit says how many of them count.
    const auto wanted = [&](size_t slot) {
      if (slot == 0) return true;
      if (slot > 1 && bars[slot] == kNoBar) return false;
      return max_bars == 0 || max_bars > static_cast<int>(slot);
    };
    for (size_t slot = 0; slot < bars.size(); ++slot) {
      if (!wanted(slot)) continue;
      const auto index = BarIndex(bars[slot]);
      if (const ItemRow* row = index ? items_.RowAt(*index) : nullptr) {
        AddBar(*row);
      }
    }
  }

 private:
  void AddBar(const ItemRow& row) {
    const auto value = ItemNumber(row, input_.number_format);
    if (!value) {
      ++result_.unreadable_values;
      return;
    }
    LookUpColour(row.color, row.image_index, state_.point_colour);
    slot_.points.push_back(
        {*value, CutLabel(row.item, cut_), state_.point_colour});
  }

  const ItemTable& items_;
  const ChartBuildInput& input_;
  SeriesSlot& slot_;
  ChartState& state_;
  ChartBuildResult& result_;
  LabelCut cut_;
};

struct HistorySource {
  std::string field;  // the two characters of columns 41-48
  const ItemRow* row = nullptr;
};

std::vector<HistorySource> HistorySources(const ItemTable& items,
                                          const ConfigRecord& record) {
  const auto bars = ChartBarFields(record);
  std::vector<HistorySource> sources;
  for (size_t i = 0; i < bars.size(); ++i) {
    if (i > 0 && bars[i] == kNoBar) continue;
    const auto index = BarIndex(bars[i]);
    sources.push_back({bars[i], index ? items.RowAt(*index) : nullptr});
  }
  return sources;
}

class HistoryBuilder {
 public:
  HistoryBuilder(const ItemTable& items, const ChartBuildInput& input,
                 ChartContent& chart, ChartState& state,
                 ChartBuildResult& result)
      : input_(input),
        chart_(chart),
        state_(state),
        history_(state.history),
        result_(result),
        sources_(HistorySources(items, input.record)) {}

  void Build() {
    if (ChartBarFields(input_.record)[0] == kNoBar) return;
    if (!chart_.history_started) {
      Start();
    } else {
      Append();
    }
    chart_.history_started = true;
  }

 private:
  void Start() {
    history_.values = {};
    history_.labels = {};
    chart_.title = std::string(input_.title);
    for (size_t k = 1; k < chart_.series.size(); ++k) {
      chart_.series[k].active = false;
      chart_.series[k].title.clear();
    }
    result_.hide_legend = true;
    for (size_t k = 0; k < sources_.size(); ++k) {
      SeriesSlot& slot = chart_.series[k];
      const ItemRow* row = sources_[k].row;
      slot.active = true;
      std::string& bar_label = state_.bar_labels[k];
      if (bar_label.empty()) {
        bar_label = sources_[k].field + (row ? row->item : std::string());
      }
      AddPoint(k);
      if (row) slot.title = row->item;
    }
    ShortenSeriesTitles(chart_);
  }

  void Append() {
    // Keeps the rows in range even after settings changed the history.
    history_.count = std::clamp(history_.count, 0, kMaxHistoryBars - 1) + 1;
    for (size_t k = 0; k < sources_.size(); ++k) AddPoint(k);
    if (history_.count < HistoryBars(input_.record)) return;
    for (int r = 0; r < history_.count; ++r) {
      history_.values[r] = history_.values[r + 1];
      history_.labels[r] = history_.labels[r + 1];
    }
    FillSlotsFromHistory(history_, history_.count, chart_);
    --history_.count;
    result_.history_shifted = true;
  }

  void AddPoint(size_t k) {
    SeriesSlot& slot = chart_.series[k];
    double value = 0;
    if (const ItemRow* row = sources_[k].row) {
      if (const auto parsed = ItemNumber(*row, input_.number_format)) {
        value = *parsed;
      } else {
        ++result_.unreadable_values;
      }
    }
    const size_t index = slot.points.size();
    slot.points.push_back({value, input_.time_label, slot.colour});
    if (index < history_.values.size()) history_.values[index][k] = value;
    history_.labels[static_cast<size_t>(history_.count)] = input_.time_label;
  }

  const ChartBuildInput& input_;
  ChartContent& chart_;
  ChartState& state_;
  HistoryState& history_;
  ChartBuildResult& result_;
  std::vector<HistorySource> sources_;
};

}  // namespace

void FillSlotsFromHistory(const HistoryState& history, int rows,
                          ChartContent& chart) {
  const auto count = static_cast<size_t>(std::clamp(rows, 0, kHistoryRows));
  for (size_t k = 0; k < chart.series.size(); ++k) {
    SeriesSlot& slot = chart.series[k];
    slot.points.clear();
    for (size_t r = 0; r < count; ++r) {
      slot.points.push_back(
          {history.values[r][k], history.labels[r], slot.colour});
    }
  }
}

ChartContent NewChartContent() {
  ChartContent chart;
  for (size_t k = 0; k < chart.series.size(); ++k) {
    chart.series[k].title = "Test0" + std::to_string(k + 1);
    chart.series[k].colour = kSlotColours[k];
  }
  return chart;
}

int CurrentChartKind(const ConfigRecord& record) {
  return record.chart_type().value_or(0);
}

bool LegendAllowed(int chart_kind) { return ChartKindAt(chart_kind).legend; }

bool IsHistoryMode(const ConfigRecord& record) { return record.history_mode(); }

int HistoryBars(const ConfigRecord& record) {
  const auto bars = record.history_bars();
  if (!bars) return kMaxHistoryBars;
  return std::clamp(*bars, 1, kMaxHistoryBars);
}

ChartBuildResult BuildChart(const ItemTable& items,
                            const ChartBuildInput& input, ChartContent& chart,
                            ChartState& state) {
  ChartBuildResult result;
  if (!chart.history_started) {
    for (SeriesSlot& slot : chart.series) slot.points.clear();
    state.history.count = 0;
    for (size_t k = 1; k < chart.series.size(); ++k) {
      chart.series[k].active = false;
    }
  }
  if (IsHistoryMode(input.record)) {
    HistoryBuilder(items, input, chart, state, result).Build();
  } else {
    if (!items.empty()) {
      BarBuilder(items, input, chart.series[0], state, result).Build();
    }
    chart.title = std::string(input.title);
    result.legend_allowed = LegendAllowed(input.chart_kind);
    result.hide_legend = !result.legend_allowed;
  }
  if (ChartKindAt(input.chart_kind).pie) {
    for (size_t k = 1; k < chart.series.size(); ++k) {
      chart.series[k].points.clear();
    }
  }
  return result;
}

void ShortenSeriesTitles(ChartContent& chart) {
  auto& series = chart.series;
  const std::string first = series[0].title;
  auto others_all = [&](auto&& test) {
    for (size_t k = 1; k < series.size(); ++k) {
      if (!series[k].title.empty() && !test(series[k].title)) return false;
    }
    return true;
  };
  const size_t blank = first.find(' ');
  const std::string lead =
      blank == std::string::npos ? first + " " : first.substr(0, blank + 1);
  if (others_all(
          [&](const std::string& title) { return title.starts_with(lead); })) {
    for (SeriesSlot& slot : series) {
      slot.title.erase(0, std::min(lead.size(), slot.title.size()));
    }
    return;
  }
  if (blank == std::string::npos) return;
  const std::string last = first.substr(first.rfind(' ') + 1);
  if (others_all(
          [&](const std::string& title) { return title.ends_with(last); })) {
    for (SeriesSlot& slot : series) {
      slot.title.resize(slot.title.size() -
                        std::min(last.size(), slot.title.size()));
    }
  }
}

bool LegendListsPoints(const ChartContent& chart) {
  // A bar build leaves the tag at 0; a history build always sets it.
  return !chart.history_started;
}

std::vector<LegendEntry> LegendEntries(const ChartContent& chart) {
  std::vector<LegendEntry> entries;
  if (LegendListsPoints(chart)) {
    for (const ChartPoint& point : chart.series[0].points) {
      entries.push_back({point.label, point.colour});
    }
    return entries;
  }
  for (const SeriesSlot& slot : chart.series) {
    if (slot.active && !slot.points.empty()) {
      entries.push_back({slot.title, slot.colour});
    }
  }
  return entries;
}

namespace {

// An entry as flowed into a row: its index and its width from the box to
// the end of its text.
struct FlowedEntry {
  size_t entry;
  int width;
};

std::vector<std::vector<FlowedEntry>> FlowLegend(
    const std::vector<int>& text_widths, int cap, int width,
    const LegendMetrics& metrics) {
  std::vector<std::vector<FlowedEntry>> rows(1);
  int x = 0;
  for (size_t i = 0; i < text_widths.size(); ++i) {
    const int entry_width =
        metrics.box + metrics.gap + std::min(text_widths[i], cap);
    if (x > 0 && x + metrics.spacing + entry_width > width) {
      rows.emplace_back();
      x = 0;
    }
    x += (x > 0 ? metrics.spacing : 0) + entry_width;
    rows.back().push_back({i, entry_width});
  }
  return rows;
}

int RowWidth(const std::vector<FlowedEntry>& row, int spacing) {
  int width = 0;
  for (const FlowedEntry& entry : row) {
    width += (width > 0 ? spacing : 0) + entry.width;
  }
  return width;
}

}  // namespace

LegendLayout LayOutLegend(const std::vector<int>& text_widths, int width,
                          int max_rows, const LegendMetrics& metrics) {
  LegendLayout layout;
  if (text_widths.empty() || max_rows < 1) return layout;
  // No entry is wider than a row.
  const int widest = std::max(0, width - metrics.box - metrics.gap);
  const int longest = std::min(
      *std::max_element(text_widths.begin(), text_widths.end()), widest);
  const int shortest_cap = std::min(metrics.min_text, longest);
  int cap = longest;
  auto rows = FlowLegend(text_widths, cap, width, metrics);
  while (cap > shortest_cap && static_cast<int>(rows.size()) > max_rows) {
    rows = FlowLegend(text_widths, --cap, width, metrics);
  }
  const bool left_out = static_cast<int>(rows.size()) > max_rows;
  if (left_out) {
    rows.resize(static_cast<size_t>(max_rows));
    auto& last = rows.back();
    const auto with_mark = [&] {
      const int used = RowWidth(last, metrics.spacing);
      return used + (used > 0 ? metrics.spacing : 0) + metrics.ellipsis;
    };
    while (!last.empty() && with_mark() > width) last.pop_back();
  }
  for (size_t r = 0; r < rows.size(); ++r) {
    const bool marked = left_out && r + 1 == rows.size();
    const int used = RowWidth(rows[r], metrics.spacing);
    const int mark =
        marked ? (used > 0 ? metrics.spacing : 0) + metrics.ellipsis : 0;
    int x = std::max(0, (width - used - mark) / 2);
    for (const FlowedEntry& entry : rows[r]) {
      layout.places.push_back({entry.entry, x, static_cast<int>(r),
                               entry.width - metrics.box - metrics.gap});
      x += entry.width + metrics.spacing;
    }
    if (marked) layout.ellipsis_x = x;
  }
  layout.rows = static_cast<int>(rows.size());
  return layout;
}

}  // namespace vigil
