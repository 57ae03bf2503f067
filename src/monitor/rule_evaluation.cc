#include "monitor/rule_evaluation.h"

#include "actions/settings_fields.h"
#include "monitor/rule.h"
#include "store/config_record.h"
#include "store/text.h"
#include "store/value_parser.h"

namespace vigil {
namespace {

constexpr int kHoldColumn = 40;
constexpr int kKeptItemColumn = 41;
constexpr int kZoomColumn = 51;
constexpr int kKeepDataColumn = 55;

bool IsSignal(Rgb colour) { return colour == kYellow || colour == kRed; }

// The switch a value action needs before it is handed over.
bool ValueActionOn(ActionKind kind, const ActionSettings& actions) {
  switch (kind) {
    case ActionKind::kValueMail:
      return EnabledAt(actions.value_mail, 1);
    case ActionKind::kValueExec:
      return EnabledAt(actions.value_exec, 1);
    case ActionKind::kValueTrace:
      return EnabledAt(actions.trace, 9);
    default:
      return false;
  }
}

std::optional<ActionKind> ValueActionKind(RuleAction action) {
  switch (action) {
    case RuleAction::kMail:
      return ActionKind::kValueMail;
    case RuleAction::kExec:
      return ActionKind::kValueExec;
    case RuleAction::kTrace:
      return ActionKind::kValueTrace;
    default:
      return std::nullopt;
  }
}

// Keep-data: the rules see how far the kept item rose since the last
// cycle, never a fall, and nothing before there is a value to rise from.
double Increase(double value, double kept_value) {
  if (kept_value == 0) return 0;
  const double increase = value - kept_value;
  return increase < 0 ? 0 : increase;
}

void LogStateChange(Rgb colour, OrbValues& values, EventLog& log) {
  if (values.state_memory != 'W' && colour == kYellow) {
    values.state_memory = 'W';
    log.Log("Warn", "Warning...");
  }
  if (values.state_memory != 'A' && colour == kRed) {
    values.state_memory = 'A';
    log.Log("Alrt", "Set Alert...");
  }
  if (values.state_memory != '.' && !IsSignal(colour)) {
    values.state_memory = '.';
    log.Log("Rset", "Reset State...");
  }
}

void UpdateKeptValue(const RuleInputs& inputs, const ItemTable& items,
                     OrbValues& values) {
  const std::optional<size_t> index = KeptRowIndex(inputs.record);
  const ItemRow* row = index ? items.RowAt(*index) : nullptr;
  if (row == nullptr) return;
  const std::optional<double> value =
      ParseValue(row->data, values.number_format);
  // An unreadable value would restart the increase from 0 next cycle.
  if (!value) return;
  if (inputs.today != values.kept_date) {
    values.kept_increase = 0;
  } else {
    values.kept_increase = *value - values.kept_value;
  }
  values.kept_value = *value;
  if (values.kept_increase < 0) values.kept_increase = 0;
  values.kept_date = inputs.today;
}

}  // namespace

std::optional<size_t> KeptRowIndex(std::string_view record) {
  const std::string field = Mid(record, kKeptItemColumn, 2);
  if (field == "xx") return 0;
  const std::optional<int> index = ParseInteger(field);
  if (!index || *index < 0) return std::nullopt;
  return static_cast<size_t>(*index);
}

RuleOutcome EvaluateRules(const RuleInputs& inputs, ItemTable& items,
                          OrbValues& values, EventLog& log,
                          ActionDispatch& dispatch) {
  std::vector<Rule> rules;
  rules.reserve(inputs.rules.size());
  for (const std::string& text : inputs.rules) rules.push_back(ParseRule(text));

  const bool keep_data = RecordFlag(inputs.record, kKeepDataColumn) == '!';
  const std::optional<size_t> kept_row = KeptRowIndex(inputs.record);
  const double row_count = static_cast<double>(items.size());
  const double response = static_cast<double>(values.acquisition_time.count());

  RuleOutcome outcome;
  Rgb colour = kNeutral;
  for (size_t index = 0; index < items.size(); ++index) {
    const ItemRow& row = items[index];
    std::optional<double> data = ParseValue(row.data, values.number_format);
    if (data && keep_data && kept_row == index) {
      data = Increase(*data, values.kept_value);
    }
    for (const Rule& rule : rules) {
      std::optional<double> compared = data;
      if (rule.item == kNoOfItems) compared = row_count;
      if (rule.item == kResponse) compared = response;
      if (rule.item != row.item && !IsSpecialItem(rule.item)) continue;
      if (!compared || !Fires(rule.op, *compared, rule.value)) continue;

      switch (rule.action) {
        case RuleAction::kColour:
          if (!IsSignal(colour)) colour = rule.colour;
          break;
        case RuleAction::kWarning:
          if (colour != kRed) colour = kYellow;
          break;
        case RuleAction::kAlert:
          colour = kRed;
          break;
        case RuleAction::kMail:
        case RuleAction::kExec:
        case RuleAction::kTrace: {
          const ActionKind kind = *ValueActionKind(rule.action);
          outcome.action_context =
              ActionContext{Trim(row.item), row.unit, *compared};
          if (ValueActionOn(kind, inputs.actions)) {
            dispatch.Trace(kind, *outcome.action_context);
          }
          break;
        }
        case RuleAction::kNone:
          break;
      }
    }
  }

  // Back to normal: one lime cycle after a warning or an alert.
  if (colour == kNeutral && IsSignal(items.colour())) colour = kLime;
  values.orb_colour = colour;
  outcome.orb_colour = colour;
  outcome.show_legend_and_title = inputs.zoomed;
  items.set_colour(colour);

  LogStateChange(colour, values, log);

  const bool zoom_flag = RecordFlag(inputs.record, kZoomColumn) == '!';
  outcome.zoom = zoom_flag && colour == kRed && !inputs.zoomed;
  outcome.unzoom = zoom_flag && colour != kRed && inputs.zoomed;

  // Hold: a held state never falls back, but yellow still rises to red.
  // A zoomed orb with the zoom flag on is red by now, so the hold has no
  // zoom of its own to undo.
  if (RecordFlag(inputs.record, kHoldColumn) == '!' &&
      IsSignal(values.colour_at_cycle_start)) {
    items.set_colour(items.colour() == kRed ? kRed
                                            : values.colour_at_cycle_start);
  }
  outcome.display_colour = items.colour();

  if (!items.empty() && keep_data) UpdateKeptValue(inputs, items, values);
  return outcome;
}

}  // namespace vigil
