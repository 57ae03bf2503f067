#include "settings/altered_settings.h"

#include <algorithm>

#include "store/bar_labels.h"
#include "store/text.h"

namespace vigil {
namespace {

// The fifth and sixth character of a choice, "0" for a missing one.
std::string ChoiceDigits(const std::string& choice) {
  std::string digits = Mid(choice, 5, 2);
  digits.resize(2, '0');
  return digits;
}

// "00" to "03" as 0 to 3.
std::optional<size_t> FirstFourIndex(const std::string& bar) {
  if (bar.size() != 2 || bar[0] != '0' || bar[1] < '0' || bar[1] > '3') {
    return std::nullopt;
  }
  return static_cast<size_t>(bar[1] - '0');
}

bool ShapesTheChart(const ConfigRecord& before, const ConfigRecord& after) {
  return before.chart_type() != after.chart_type() ||
         before.bar_limit() != after.bar_limit() ||
         before.sorting() != after.sorting() ||
         before.chart_bars_text() != after.chart_bars_text();
}

void RemapRow(const std::array<std::string, kChartBarSlots>& old_bars,
              const std::array<std::string, kChartBarSlots>& new_bars,
              std::array<double, kSeriesSlots>& row) {
  std::array<double, kSeriesSlots> noted{};
  for (size_t bar = 0; bar < old_bars.size(); ++bar) {
    if (const auto index = FirstFourIndex(old_bars[bar])) {
      noted[*index] = row[bar];
    }
  }
  for (size_t bar = 0; bar < new_bars.size(); ++bar) {
    if (bar > 0 && old_bars[bar] == "xx") continue;
    if (const auto index = FirstFourIndex(new_bars[bar])) {
      row[bar] = noted[*index];
    }
  }
}

// The bar label the slot showed its item under; an item no bar showed
// yet is titled after its row.
std::string SlotTitle(const ChartState& state, const ItemTable& items,
                      const std::string& bar) {
  if (auto label = LookUpBarLabel(state.bar_labels, bar)) return *label;
  const std::optional<int> index = ParseInteger(bar);
  const ItemRow* row =
      index && *index >= 0 ? items.RowAt(static_cast<size_t>(*index)) : nullptr;
  return row ? row->item : std::string();
}

}  // namespace

AlterOutcome WriteAlteredSettings(const AlteredSettings& settings,
                                  ConfigRecord& record) {
  AlterOutcome outcome;
  if (record.text().find(';') == std::string::npos) return outcome;
  const ConfigRecord before = record;
  record.set_title(settings.title);
  record.set_sorting(settings.sorting);
  record.set_chart_type(settings.chart_kind);
  record.set_history_bars(settings.history_bars);
  record.set_delay_time(settings.delay);
  record.set_gauge_number(ChoiceDigits(settings.gauge_choice));
  record.set_image_number(ChoiceDigits(settings.image_choice));
  record.set_hold(settings.hold);
  record.set_zoom_on_alert(settings.zoom_on_alert);
  record.set_bar_limit(settings.max_bars);
  record.set_keep_data(settings.keep_data);
  for (int slot = 0; slot < kChartBarSlots; ++slot) {
    record.set_chart_bar(slot, settings.bars[static_cast<size_t>(slot)]);
  }
  outcome.written = true;
  outcome.delay_changed = record.delay_text() != before.delay_text();
  outcome.chart_reshaped = ShapesTheChart(before, record);
  return outcome;
}

std::optional<int> ParseDelayField(std::string_view text) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty() || !IsDigits(trimmed)) return std::nullopt;
  const auto seconds = ParseInteger(trimmed);
  if (!seconds || *seconds < kDelayLow || *seconds > kDelayHigh) {
    return std::nullopt;
  }
  return seconds;
}

void RemapHistory(const std::array<std::string, kChartBarSlots>& old_bars,
                  const std::array<std::string, kChartBarSlots>& new_bars,
                  HistoryState& history) {
  if (old_bars == new_bars) return;
  const int last = std::clamp(history.count, 0, kHistoryRows - 1);
  for (int row = 0; row <= last; ++row) {
    RemapRow(old_bars, new_bars, history.values[static_cast<size_t>(row)]);
  }
}

void RebuildHistoryChart(
    const std::array<std::string, kChartBarSlots>& old_bars,
    const ConfigRecord& record, const ItemTable& items, int chart_kind,
    ChartState& state, ChartContent& chart) {
  const auto new_bars = record.chart_bars();
  HistoryState& history = state.history;
  RemapHistory(old_bars, new_bars, history);
  // Rows 0 to HistoryCount, the newest included.
  FillSlotsFromHistory(history, std::max(history.count, 0) + 1, chart);
  for (size_t k = 0; k < chart.series.size(); ++k) {
    SeriesSlot& slot = chart.series[k];
    slot.title = SlotTitle(state, items, new_bars[k]);
    slot.active =
        k == 0 || (new_bars[k] != "xx" && !ChartKindAt(chart_kind).pie);
  }
  ShortenSeriesTitles(chart);
  chart.history_started = true;
}

}  // namespace vigil
