// One rule the user attached to an orb: "item;operator;value;action;".
#ifndef VIGIL_MONITOR_RULE_H_
#define VIGIL_MONITOR_RULE_H_

#include <optional>
#include <string>
#include <string_view>

#include "store/colour.h"

namespace vigil {

// Items that apply to every row instead of naming one.
inline constexpr std::string_view kAllItems = "<All Items>";
inline constexpr std::string_view kNoOfItems = "<No of Items>";
inline constexpr std::string_view kResponse = "<Response>";

enum class RuleOperator {
  kNone,  // missing or unknown: the rule never fires
  kEqual,
  kNotEqual,
  kGreater,
  kGreaterOrEqual,
  kLess,
  kLessOrEqual,
};

enum class RuleAction {
  kNone,  // missing or unknown (also "Lime"): fires without effect
  kColour,
  kWarning,
  kAlert,
  kMail,
  kExec,
  kTrace,
};

// The four fields as written, each the text up to its ";". A field whose
// ";" is missing is empty, and so is every field after it.
struct RuleFields {
  std::string item;
  std::string op;
  std::string value;
  std::string action;
};
RuleFields SplitRule(std::string_view text);

struct Rule {
  std::string item;
  RuleOperator op = RuleOperator::kNone;
  int value = 0;
  RuleAction action = RuleAction::kNone;
  Rgb colour;  // for RuleAction::kColour
};
Rule ParseRule(std::string_view text);

RuleOperator ParseOperator(std::string_view text);

// A whole number, leading and trailing blanks allowed; anything else
// (also "12.5") counts as 0.
int ParseRuleValue(std::string_view text);

// The signal colour a colour action paints; nullopt for other actions.
std::optional<Rgb> ColourAction(std::string_view action);

RuleAction ParseAction(std::string_view text);

bool Fires(RuleOperator op, double compared_value, int rule_value);

// True for the items that apply to every row.
bool IsSpecialItem(std::string_view item);

}  // namespace vigil

#endif  // VIGIL_MONITOR_RULE_H_
