#include "monitor/rule.h"

#include <array>
#include <utility>

#include "store/text.h"

namespace vigil {
namespace {

struct NamedColour {
  std::string_view name;
  Rgb colour;
};

// Yellow, red and lime are kept for warning, alert and back to normal.
constexpr std::array<NamedColour, 10> kColourActions = {{
    {"Aqua", kAqua},
    {"Fuchsia", kFuchsia},
    {"Blue", kBlue},
    {"Teal", kTeal},
    {"Maroon", kMaroon},
    {"Green", kGreen},
    {"Olive", kOlive},
    {"Navy", kNavy},
    {"Purple", kPurple},
    {"Silver", kSilver},
}};

constexpr std::array<std::pair<std::string_view, RuleOperator>, 6> kOperators =
    {{
        {"=", RuleOperator::kEqual},
        {"<>", RuleOperator::kNotEqual},
        {">", RuleOperator::kGreater},
        {">=", RuleOperator::kGreaterOrEqual},
        {"<", RuleOperator::kLess},
        {"<=", RuleOperator::kLessOrEqual},
    }};

constexpr std::array<std::pair<std::string_view, RuleAction>, 5> kActions = {{
    {"Warning", RuleAction::kWarning},
    {"Set Alert", RuleAction::kAlert},
    {"<Mail>", RuleAction::kMail},
    {"<Exec>", RuleAction::kExec},
    {"<Trace>", RuleAction::kTrace},
}};

}  // namespace

RuleFields SplitRule(std::string_view text) {
  // BeforeFirst is empty without a ";", and AfterFirst then keeps the
  // whole rest, so a missing ";" empties its field and all later ones.
  RuleFields fields;
  std::string rest(text);
  for (std::string* field :
       {&fields.item, &fields.op, &fields.value, &fields.action}) {
    *field = BeforeFirst(rest, ';');
    rest = AfterFirst(rest, ';');
  }
  return fields;
}

RuleOperator ParseOperator(std::string_view text) {
  for (const auto& [name, op] : kOperators) {
    if (text == name) return op;
  }
  return RuleOperator::kNone;
}

int ParseRuleValue(std::string_view text) {
  return ParseInteger(text).value_or(0);
}

std::optional<Rgb> ColourAction(std::string_view action) {
  for (const NamedColour& entry : kColourActions) {
    if (action == entry.name) return entry.colour;
  }
  return std::nullopt;
}

RuleAction ParseAction(std::string_view text) {
  if (ColourAction(text)) return RuleAction::kColour;
  for (const auto& [name, action] : kActions) {
    if (text == name) return action;
  }
  return RuleAction::kNone;
}

Rule ParseRule(std::string_view text) {
  RuleFields fields = SplitRule(text);
  Rule rule;
  rule.item = std::move(fields.item);
  rule.op = ParseOperator(fields.op);
  rule.value = ParseRuleValue(fields.value);
  rule.action = ParseAction(fields.action);
  rule.colour = ColourAction(fields.action).value_or(kNeutral);
  return rule;
}

bool Fires(RuleOperator op, double compared_value, int rule_value) {
  const double value = rule_value;
  switch (op) {
    case RuleOperator::kEqual:
      return compared_value == value;
    case RuleOperator::kNotEqual:
      return compared_value != value;
    case RuleOperator::kGreater:
      return compared_value > value;
    case RuleOperator::kGreaterOrEqual:
      return compared_value >= value;
    case RuleOperator::kLess:
      return compared_value < value;
    case RuleOperator::kLessOrEqual:
      return compared_value <= value;
    case RuleOperator::kNone:
      break;
  }
  return false;
}

bool IsSpecialItem(std::string_view item) {
  return item == kAllItems || item == kNoOfItems || item == kResponse;
}

}  // namespace vigil
