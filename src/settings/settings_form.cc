#include "settings/settings_form.h"

#include <algorithm>

#include "store/text.h"

namespace vigil {
namespace {

constexpr int kMaxBarsLimit = 99;
constexpr int kDelayStep = 10;
constexpr char kNoBar[] = "xx";

std::optional<std::string> SelectionName(char identifier_kind) {
  switch (identifier_kind) {
    case '1':
      return "Probes";
    case '2':
      return "Groups";
    case '3':
      return "Devices";
    case '4':
      return "Sensors";
    default:
      return std::nullopt;
  }
}

// A mark column of an action settings text: "X" on, anything else off;
// enabled when the enable column holds "E".
CheckField ActionCheck(std::string_view text, int mark_column,
                       int enable_column) {
  return {Mid(text, mark_column, 1) == "X", Mid(text, enable_column, 1) == "E"};
}

// Only a text that reaches the column is written: a short or empty
// settings text keeps its length, so that no mark lands in a gap.
void WriteMark(std::string& text, int column, bool on) {
  const auto index = static_cast<size_t>(column - 1);
  if (text.size() > index) text[index] = on ? 'X' : '.';
}

void FillChartLayout(const ConfigRecord& record, bool gauge_chosen,
                     SettingsFields& fields) {
  fields.chart_kind = record.chart_type().value_or(0);
  const char sorting = record.sorting();
  fields.sorting = sorting >= '0' && sorting <= '6' ? sorting - '0' : 0;
  fields.max_bars =
      std::clamp(record.bar_limit().value_or(0), 0, kMaxBarsLimit);
  fields.history_bars =
      std::clamp(record.history_bars().value_or(kHistoryBarsLow),
                 kHistoryBarsLow, kHistoryBarsHigh);
  fields.selection = SelectionName(record.identifier_kind());
  fields.bars = record.chart_bars();
  fields.bars_enabled = {gauge_chosen, record.history_mode(),
                         record.history_mode(), record.history_mode()};
  const bool bar_mode = record.chart_mode() == '.';
  fields.max_bars_enabled = bar_mode;
  fields.history_enabled = !bar_mode;
  fields.sorting_enabled = bar_mode && fields.bars[0] == kNoBar;
}

void FillChecks(const SettingsSource& source, SettingsFields& fields) {
  const ConfigRecord& record = source.record;
  const ActionSettings& actions = source.actions;
  Check(fields, SettingsCheck::kHold).checked = record.hold();
  Check(fields, SettingsCheck::kZoom).checked = record.zoom_on_alert();
  Check(fields, SettingsCheck::kKeep).checked = record.keep_data();
  Check(fields, SettingsCheck::kMails) = ActionCheck(actions.state_mail, 1, 3);
  Check(fields, SettingsCheck::kExecs) = ActionCheck(actions.state_exec, 1, 3);
  Check(fields, SettingsCheck::kValueTrace) = ActionCheck(actions.trace, 9, 11);
  Check(fields, SettingsCheck::kRunTrace) = ActionCheck(actions.trace, 13, 15);
}

bool RowExists(const SettingsFields& fields, int row) {
  return row >= 0 && row < static_cast<int>(fields.rule_rows.size());
}

RuleFields Trimmed(const RuleFields& rule) {
  return {Trim(rule.item), Trim(rule.op), Trim(rule.value), Trim(rule.action)};
}

std::string RuleText(const RuleFields& rule) {
  return rule.item + ";" + rule.op + ";" + rule.value + ";" + rule.action + ";";
}

void SpinWithin(int& value, int step, int low, int high,
                SettingsFields& fields) {
  const int next = std::clamp(value + step, low, high);
  if (next == value) return;
  value = next;
  MarkChanged(fields);
}

}  // namespace

SettingsFields FillSettingsFields(const SettingsSource& source) {
  const ConfigRecord& record = source.record;
  SettingsFields fields;
  fields.caption = " Alter Settings for " + record.display_name() + " (" +
                   record.row() + "/" + record.column() + ")...";
  fields.title = record.tail().title;
  FillChartLayout(record, source.gauge_chosen, fields);
  fields.gauge_choice_shown = source.gauge_chosen;
  fields.gauge_choice = "Typ " + record.gauge_number();
  fields.image_choice_shown = source.image_shown;
  fields.image_choice = "Img " + record.image_number();
  fields.delay_text = record.delay_text();
  FillChecks(source, fields);
  for (const std::string& rule : source.rules) {
    fields.rule_rows.push_back(SplitRule(rule));
  }
  Active(fields, LabelButton::kCancel) = true;
  Active(fields, LabelButton::kNew) = true;
  return fields;
}

CheckField& Check(SettingsFields& fields, SettingsCheck check) {
  return fields.checks[static_cast<size_t>(check)];
}

const CheckField& Check(const SettingsFields& fields, SettingsCheck check) {
  return fields.checks[static_cast<size_t>(check)];
}

bool& Active(SettingsFields& fields, LabelButton button) {
  return fields.active[static_cast<size_t>(button)];
}

void MarkChanged(SettingsFields& fields) {
  Active(fields, LabelButton::kSave) = true;
}

void SetChecked(SettingsFields& fields, SettingsCheck check, bool checked) {
  CheckField& field = Check(fields, check);
  if (!field.enabled || field.checked == checked) return;
  field.checked = checked;
  MarkChanged(fields);
}

void SpinMaxBars(SettingsFields& fields, int direction) {
  if (!fields.max_bars_enabled) return;
  SpinWithin(fields.max_bars, direction, 0, kMaxBarsLimit, fields);
}

void SpinHistoryBars(SettingsFields& fields, int direction) {
  if (!fields.history_enabled) return;
  SpinWithin(fields.history_bars, direction, kHistoryBarsLow, kHistoryBarsHigh,
             fields);
}

void SpinDelay(SettingsFields& fields, int direction) {
  // A typed text that is no number starts again from the lowest delay.
  std::string digits = fields.delay_text;
  std::erase_if(digits, [](char c) { return c < '0' || c > '9'; });
  const int current = ParseInteger(Mid(digits, 1, 6)).value_or(kDelayLow);
  const int next =
      std::clamp(current + direction * kDelayStep, kDelayLow, kDelayHigh);
  const std::string text = RightAligned(next, kDelayFieldLength);
  if (text == fields.delay_text) return;
  fields.delay_text = text;
  MarkChanged(fields);
}

bool DelayKeyAccepted(char key) {
  return (key >= '0' && key <= '9') || key == ',' || key == '-';
}

void StepFirstBar(SettingsFields& fields, int item_rows) {
  if (!fields.bars_enabled[0]) return;
  std::string& bar = fields.bars[0];
  const std::optional<int> index =
      bar == kNoBar || !IsDigits(bar) ? std::nullopt : ParseInteger(bar);
  const int next = index ? *index + 1 : 0;
  // An index beyond the table, kept from an earlier result, restarts the
  // cycle like the last one does.
  const std::string stepped =
      next < item_rows && (index || bar == kNoBar) ? TwoDigits(next) : kNoBar;
  if (stepped == bar) return;
  bar = stepped;
  MarkChanged(fields);
}

void RotateBars(SettingsFields& fields, int field) {
  if (field < 1 || field >= kChartBarSlots) return;
  const auto index = static_cast<size_t>(field);
  if (!fields.bars_enabled[index] || fields.bars[index] == kNoBar) return;
  std::rotate(fields.bars.begin(), fields.bars.begin() + field,
              fields.bars.begin() + field + 1);
  MarkChanged(fields);
}

void SelectRule(SettingsFields& fields, int row) {
  if (!RowExists(fields, row)) return;
  fields.selected_rule = row;
  Active(fields, LabelButton::kNew) = false;
  Active(fields, LabelButton::kPurge) = true;
}

void EditRule(SettingsFields& fields, int row) {
  if (fields.purge_mark || !RowExists(fields, row)) return;
  fields.selected_rule = row;
  fields.new_rule_mark = false;
  fields.editor = {true, false,
                   Trimmed(fields.rule_rows[static_cast<size_t>(row)])};
  Active(fields, LabelButton::kNew) = false;
  Active(fields, LabelButton::kPurge) = false;
}

void NewRule(SettingsFields& fields) {
  fields.editor = {true, true, {"", ">", "         0", "Green"}};
  fields.new_rule_mark = true;
  Active(fields, LabelButton::kNew) = false;
}

void PurgeRule(SettingsFields& fields, std::vector<std::string>& rules) {
  const int row = fields.selected_rule;
  if (!RowExists(fields, row) || row >= static_cast<int>(rules.size())) {
    return;
  }
  rules.erase(rules.begin() + row);
  fields.rule_rows.erase(fields.rule_rows.begin() + row);
  fields.selected_rule = -1;
  fields.purge_mark = true;
  // The editor may show the rule that is gone.
  if (!fields.new_rule_mark) fields.editor.shown = false;
  Active(fields, LabelButton::kPurge) = false;
  MarkChanged(fields);
}

std::optional<std::string> SaveSettingsFields(SettingsFields& fields,
                                              std::vector<std::string>& rules,
                                              ActionSettings& actions) {
  const RuleFields rule = Trimmed(fields.editor.fields);
  const bool rule_invalid =
      fields.editor.shown &&
      (rule.item.empty() || rule.op.empty() || rule.value.empty());
  std::optional<std::string> refusal;
  if (rule_invalid) {
    refusal = kInvalidRuleMessage;
  } else if (!ParseDelayField(fields.delay_text)) {
    refusal = kDelayRefusal;
  }
  if (refusal) {
    Active(fields, LabelButton::kSave) = false;
    return refusal;
  }
  if (fields.editor.shown && fields.new_rule_mark) {
    rules.push_back(RuleText(rule));
  } else if (fields.editor.shown && fields.selected_rule >= 0 &&
             fields.selected_rule < static_cast<int>(rules.size())) {
    rules[static_cast<size_t>(fields.selected_rule)] = RuleText(rule);
  }
  const bool mails = Check(fields, SettingsCheck::kMails).checked;
  const bool execs = Check(fields, SettingsCheck::kExecs).checked;
  WriteMark(actions.state_mail, 1, mails);
  WriteMark(actions.value_mail, 1, mails);
  WriteMark(actions.state_exec, 1, execs);
  WriteMark(actions.value_exec, 1, execs);
  WriteMark(actions.trace, 9,
            Check(fields, SettingsCheck::kValueTrace).checked);
  WriteMark(actions.trace, 13, Check(fields, SettingsCheck::kRunTrace).checked);
  return std::nullopt;
}

std::optional<AlteredSettings> AlteredFrom(const SettingsFields& fields) {
  const std::optional<int> delay = ParseDelayField(fields.delay_text);
  if (!delay) return std::nullopt;
  AlteredSettings settings;
  settings.title = fields.title;
  settings.sorting = static_cast<char>('0' + fields.sorting);
  settings.chart_kind = fields.chart_kind;
  settings.history_bars = fields.history_bars;
  settings.delay = *delay;
  settings.gauge_choice = fields.gauge_choice;
  settings.image_choice = fields.image_choice;
  settings.hold = Check(fields, SettingsCheck::kHold).checked;
  settings.zoom_on_alert = Check(fields, SettingsCheck::kZoom).checked;
  settings.max_bars = fields.max_bars;
  settings.keep_data = Check(fields, SettingsCheck::kKeep).checked;
  settings.bars = fields.bars;
  return settings;
}

}  // namespace vigil
