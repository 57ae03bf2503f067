#include "monitor/rule_evaluation.h"

#include "actions/settings_fields.h"
#include "monitor/rule.h"
#include "store/text.h"
#include "store/value_parser.h"

namespace vigil {
namespace {

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

void UpdateKeptValue(const ConfigRecord& record, const std::string& today,
                     const ItemTable& items, OrbValues& values) {
  const std::optional<size_t> index = record.kept_row();
  const ItemRow* row = index ? items.RowAt(*index) : nullptr;
  if (row == nullptr) return;
  const std::optional<double> value = ItemNumber(*row, values.number_format);
  // An unreadable value would restart the increase from 0 next cycle.
  if (!value) return;
  if (today != values.kept_date) {
    values.kept_increase = 0;
  } else {
    values.kept_increase = *value - values.kept_value;
  }
  values.kept_value = *value;
  if (values.kept_increase < 0) values.kept_increase = 0;
  values.kept_date = today;
}

}  // namespace

namespace {

// One row against every rule: the colour rises, value actions fire.
class RowEvaluation {
 public:
  RowEvaluation(const ActionSettings& actions, ActionDispatch& dispatch,
                Rgb& colour, RuleOutcome& outcome)
      : actions_(actions),
        dispatch_(dispatch),
        colour_(colour),
        outcome_(outcome) {}

  void Apply(const Rule& rule, const ItemRow& row, double compared) {
    switch (rule.action) {
      case RuleAction::kColour:
        if (!IsSignal(colour_)) colour_ = rule.colour;
        break;
      case RuleAction::kWarning:
        if (colour_ != kRed) colour_ = kYellow;
        break;
      case RuleAction::kAlert:
        colour_ = kRed;
        break;
      case RuleAction::kMail:
      case RuleAction::kExec:
      case RuleAction::kTrace:
        HandOver(*ValueActionKind(rule.action), row, compared);
        break;
      case RuleAction::kNone:
        break;
    }
  }

 private:
  void HandOver(ActionKind kind, const ItemRow& row, double compared) {
    outcome_.action_context = ActionContext{Trim(row.item), row.unit, compared};
    if (ValueActionOn(kind, actions_)) {
      dispatch_.Trace(kind, *outcome_.action_context);
    }
  }

  const ActionSettings& actions_;
  ActionDispatch& dispatch_;
  Rgb& colour_;
  RuleOutcome& outcome_;
};

// What a sensor's own limits and warning flag make of its channel.
std::optional<RuleAction> SensorLimitAction(const ItemRow& row) {
  const SensorLimits& limits = row.limits;
  if (row.value) {
    const double value = *row.value;
    const auto above = [value](std::optional<double> limit) {
      return limit && value > *limit;
    };
    const auto below = [value](std::optional<double> limit) {
      return limit && value < *limit;
    };
    if (above(limits.max_error) || below(limits.min_error)) {
      return RuleAction::kAlert;
    }
    if (above(limits.max_warning) || below(limits.min_warning)) {
      return RuleAction::kWarning;
    }
  }
  if (limits.warning) return RuleAction::kWarning;
  return std::nullopt;
}

// The orb colour the rules give the table's rows.
Rgb EvaluateRows(const OrbConfiguration& config, const RuleInputs& inputs,
                 const ItemTable& items, const OrbValues& values,
                 ActionDispatch& dispatch, RuleOutcome& outcome) {
  std::vector<Rule> rules;
  rules.reserve(config.rules.size());
  for (const std::string& text : config.rules) rules.push_back(ParseRule(text));
  const bool keep_data = config.record.keep_data();
  const std::optional<size_t> kept_row = config.record.kept_row();
  const double row_count = static_cast<double>(items.size());
  const double response = static_cast<double>(values.acquisition_time.count());

  Rgb colour = kNeutral;
  RowEvaluation evaluation(config.actions, dispatch, colour, outcome);
  for (size_t index = 0; index < items.size(); ++index) {
    const ItemRow& row = items[index];
    if (const auto limit =
            inputs.sensor_limits ? SensorLimitAction(row) : std::nullopt) {
      Rule limit_rule;
      limit_rule.action = *limit;
      evaluation.Apply(limit_rule, row, row.value.value_or(0));
    }
    std::optional<double> data = ItemNumber(row, values.number_format);
    if (data && keep_data && kept_row == index) {
      data = Increase(*data, values.kept_value);
    }
    for (const Rule& rule : rules) {
      std::optional<double> compared = data;
      if (rule.item == kNoOfItems) compared = row_count;
      if (rule.item == kResponse) compared = response;
      if (rule.item != row.item && !IsSpecialItem(rule.item)) continue;
      if (!compared || !Fires(rule.op, *compared, rule.value)) continue;
      evaluation.Apply(rule, row, *compared);
    }
  }
  return colour;
}

}  // namespace

RuleOutcome EvaluateRules(const OrbConfiguration& config,
                          const RuleInputs& inputs, ItemTable& items,
                          OrbValues& values, EventLog& log,
                          ActionDispatch& dispatch) {
  RuleOutcome outcome;
  Rgb colour = EvaluateRows(config, inputs, items, values, dispatch, outcome);
  // Back to normal: one lime cycle after a warning or an alert.
  if (colour == kNeutral && IsSignal(items.colour())) colour = kLime;
  values.orb_colour = colour;
  outcome.orb_colour = colour;
  outcome.show_legend_and_title = inputs.zoomed;
  items.set_colour(colour);

  LogStateChange(colour, values, log);

  const bool zoom_flag = config.record.zoom_on_alert();
  outcome.zoom = zoom_flag && colour == kRed && !inputs.zoomed;
  outcome.unzoom = zoom_flag && colour != kRed && inputs.zoomed;

  // Hold: a held state never falls back, but yellow still rises to red.
  // A zoomed orb with the zoom flag on is red by now, so the hold has no
  // zoom of its own to undo.
  if (config.record.hold() && IsSignal(values.colour_at_cycle_start)) {
    items.set_colour(items.colour() == kRed ? kRed
                                            : values.colour_at_cycle_start);
  }
  outcome.display_colour = items.colour();

  if (!items.empty() && config.record.keep_data()) {
    UpdateKeptValue(config.record, inputs.today, items, values);
  }
  return outcome;
}

}  // namespace vigil
