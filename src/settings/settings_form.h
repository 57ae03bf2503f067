// The settings dialog's fields and marks as plain data, and what each of
// its controls does to them. The dialog widget binds these to its controls
// and forwards their events here, so every rule of the dialog holds
// without a screen.
#ifndef VIGIL_SETTINGS_SETTINGS_FORM_H_
#define VIGIL_SETTINGS_SETTINGS_FORM_H_

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "face/chart_kind.h"
#include "monitor/rule.h"
#include "settings/altered_settings.h"
#include "store/config_record.h"
#include "store/orbs_file.h"

namespace vigil {

inline constexpr std::array<const char*, kChartKindTable.size()>
    kChartKindChoices = [] {
      std::array<const char*, kChartKindTable.size()> captions{};
      for (size_t i = 0; i < captions.size(); ++i) {
        captions[i] = kChartKindTable[i].caption;
      }
      return captions;
    }();
inline constexpr std::array<const char*, 7> kSortingChoices = {
    " No Sorting", " Items Asc", " Items Dsc", " Value Asc",
    " Value Dsc",  " Color Asc", " Color Dsc"};
inline constexpr std::array<const char*, 6> kComparisonChoices = {
    "=", "<>", ">", ">=", "<", "<="};
inline constexpr std::array<const char*, 16> kActionChoices = {
    "Warning", "Set Alert", "Aqua",   "Lime",   "Fuchsia", "Blue",
    "Teal",    "Maroon",    "Green",  "Olive",  "Navy",    "Purple",
    "Silver",  "<Mail>",    "<Exec>", "<Trace>"};

// The text labels that act as buttons; an active one is drawn maroon.
enum class LabelButton { kSave = 0, kCancel, kNew, kPurge };
inline constexpr int kLabelButtons = 4;

// Check01 to Check07.
enum class SettingsCheck {
  kHold = 0,
  kZoom,
  kKeep,
  kMails,
  kExecs,
  kValueTrace,
  kRunTrace
};
inline constexpr int kSettingsChecks = 7;

struct CheckField {
  bool checked = false;
  bool enabled = true;
};

struct RuleEditor {
  bool shown = false;
  bool item_enabled = true;
  RuleFields fields;  // item, comparison, value, action
};

// What the dialog is filled from when it opens.
struct SettingsSource {
  ConfigRecord record;
  ActionSettings actions;
  std::vector<std::string> rules;
  bool gauge_chosen = false;
  bool image_shown = false;
};

struct SettingsFields {
  std::string caption;
  std::string title;
  int max_bars = 0;
  bool max_bars_enabled = false;
  int history_bars = 4;
  bool history_enabled = false;
  // "Probes" ... "Sensors", shown in place of the history bars.
  std::optional<std::string> selection;
  int chart_kind = 0;
  int sorting = 0;
  bool sorting_enabled = false;
  bool gauge_choice_shown = false;
  std::string gauge_choice;  // "Typ 07"
  bool image_choice_shown = false;
  std::string image_choice;  // "Img 07"
  std::array<std::string, kChartBarSlots> bars;
  std::array<bool, kChartBarSlots> bars_enabled{};
  std::string delay_text;  // right-aligned in five characters
  std::array<CheckField, kSettingsChecks> checks;
  std::vector<RuleFields> rule_rows;
  RuleEditor editor;
  int selected_rule = -1;
  bool new_rule_mark = false;
  bool purge_mark = false;
  std::array<bool, kLabelButtons> active{};
};

// The filling on show: every control from its columns, the rule rows from
// the rules, nothing pending.
SettingsFields FillSettingsFields(const SettingsSource& source);

CheckField& Check(SettingsFields& fields, SettingsCheck check);
const CheckField& Check(const SettingsFields& fields, SettingsCheck check);
bool& Active(SettingsFields& fields, LabelButton button);

// Any edit of a field, a combo or a check box makes Save active.
void MarkChanged(SettingsFields& fields);

// A check box whose enable column is not "E" keeps its state.
void SetChecked(SettingsFields& fields, SettingsCheck check, bool checked);

// The spin buttons: one step up (+1) or down (-1) within their bounds.
void SpinMaxBars(SettingsFields& fields, int direction);
void SpinHistoryBars(SettingsFields& fields, int direction);
void SpinDelay(SettingsFields& fields, int direction);

// The delay field takes digits, "," and "-" as keystrokes; Save then
// refuses what is no whole number of seconds.
bool DelayKeyAccepted(char key);
inline constexpr int kDelayFieldLength = 5;
inline constexpr char kDelayRefusal[] =
    "Delay-Time must be a whole Number of Seconds from 10 to 99999 !";

// A double click on the first bar field steps it through "xx", "00" ... the
// last row index; a value outside that cycle steps to "xx".
void StepFirstBar(SettingsFields& fields, int item_rows);
// A double click on bar field 2, 3 or 4 (index 1 to 3) that shows an item
// moves it to the first field and the fields before it one to the right.
void RotateBars(SettingsFields& fields, int field);

// The rule list: a click selects, a double click edits, New and Purge.
void SelectRule(SettingsFields& fields, int row);
void EditRule(SettingsFields& fields, int row);
void NewRule(SettingsFields& fields);
// Removes the selected rule from the orb's rules at once; Cancel keeps it
// removed.
void PurgeRule(SettingsFields& fields, std::vector<std::string>& rules);

inline constexpr char kInvalidRuleMessage[] = "Invalid Rule-Definition(s) !";

// Save: checks the rule editor and the delay, then writes the rule and
// the action switches into the orb's memory. nullopt when accepted, else
// the message; a refusal changes nothing but Save's colour.
std::optional<std::string> SaveSettingsFields(SettingsFields& fields,
                                              std::vector<std::string>& rules,
                                              ActionSettings& actions);

// The values that the alter-settings flow writes into the record, from a
// saved form; nullopt while the delay field holds no valid delay.
std::optional<AlteredSettings> AlteredFrom(const SettingsFields& fields);

}  // namespace vigil

#endif  // VIGIL_SETTINGS_SETTINGS_FORM_H_
