// The settings dialog's values on Save, written back into the record, and
// the carry-over of a history chart's recorded values to new bars.
#ifndef VIGIL_SETTINGS_ALTERED_SETTINGS_H_
#define VIGIL_SETTINGS_ALTERED_SETTINGS_H_

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "face/chart_model.h"
#include "store/config_record.h"

namespace vigil {

// What the dialog lets a record hold: whole seconds of delay, history bars.
inline constexpr int kDelayLow = 10;
inline constexpr int kDelayHigh = 99999;
inline constexpr int kHistoryBarsLow = 4;
inline constexpr int kHistoryBarsHigh = 99;

struct AlteredSettings {
  std::string title;
  char sorting = '0';  // " No Sorting" ... " Color Dsc"
  int chart_kind = 0;  // "Bar(s)" ... "Pie(s)"
  int history_bars = 10;
  int delay = 60;            // seconds, checked by ParseDelayField
  std::string gauge_choice;  // "Typ 07": its fifth and sixth characters
  std::string image_choice;
  bool hold = false;
  bool zoom_on_alert = false;
  int max_bars = 0;
  bool keep_data = false;
  std::array<std::string, kChartBarSlots> bars = {"xx", "xx", "xx", "xx"};
};

struct AlterOutcome {
  bool written = false;         // false: the record holds no ";"
  bool delay_changed = false;   // restart the cycle timer
  bool chart_reshaped = false;  // kind, bars, sorting or selection changed
};

// Rewrites exactly the columns the dialog edits, in the dialog's order.
AlterOutcome WriteAlteredSettings(const AlteredSettings& settings,
                                  ConfigRecord& record);

// The delay field: whole seconds from 10 to 99999. The field takes "-"
// and "," as keystrokes, so they must be refused here.
std::optional<int> ParseDelayField(std::string_view text);

// Moves each history row's recorded values to the bars that now show
// their items; a bar whose new index is not "00" to "03" keeps its values.
void RemapHistory(const std::array<std::string, kChartBarSlots>& old_bars,
                  const std::array<std::string, kChartBarSlots>& new_bars,
                  HistoryState& history);

// The history chart after the bar selection changed: the recorded rows
// carried over, every slot refilled from them and titled after its new
// item, the slots without an item inactive (on a pie all but the first).
void RebuildHistoryChart(
    const std::array<std::string, kChartBarSlots>& old_bars,
    const ConfigRecord& record, const ItemTable& items, int chart_kind,
    ChartState& state, ChartContent& chart);

}  // namespace vigil

#endif  // VIGIL_SETTINGS_ALTERED_SETTINGS_H_
