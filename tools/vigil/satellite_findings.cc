#include "vigil/satellite_findings.h"

#include <array>
#include <optional>
#include <string>

#include "monitor/rule.h"
#include "store/text.h"
#include "vigil/action_marks.h"
#include "vigil/orb_words.h"
#include "vigil/shown_text.h"

namespace vigil::cli {
namespace {

constexpr int kRuleFields = 4;
constexpr char kExpectedActions[] =
    "Warning, Set Alert, <Mail>, <Exec>, <Trace> or a colour (Aqua, Fuchsia, "
    "Blue, Teal, Maroon, Green, Olive, Navy, Purple, Silver)";

// "operator is missing" or "operator \">>\" is unknown".
std::string Named(std::string_view field, std::string_view text) {
  return std::string(field) +
         (text.empty() ? " is missing" : " " + Quoted(text) + " is unknown");
}

// Where the rule's fields begin, as far as a ";" ends the one before.
struct FieldStarts {
  std::array<size_t, kRuleFields + 1> at{};
  int terminated = 0;  // fields that end in a ";"
};

FieldStarts FindFieldStarts(std::string_view rule) {
  FieldStarts starts;
  size_t end = rule.find(';');
  while (starts.terminated < kRuleFields && end != std::string_view::npos) {
    starts.at[static_cast<size_t>(++starts.terminated)] = end + 1;
    end = rule.find(';', end + 1);
  }
  return starts;
}

std::optional<std::string> ItemProblem(std::string_view item) {
  if (!item.empty()) return std::nullopt;
  return "rule has no item; expected an item name, <All Items>, "
         "<No of Items> or <Response> before the first \";\"";
}

std::optional<std::string> OperatorProblem(std::string_view op) {
  if (ParseOperator(op) != RuleOperator::kNone) return std::nullopt;
  return Named("operator", op) +
         " and the rule never fires; expected =, <>, >, >=, < or <=";
}

std::optional<std::string> ValueProblem(std::string_view value) {
  if (ParseInteger(value)) return std::nullopt;
  return (value.empty() ? std::string("value is missing")
                        : "value " + Quoted(value) + " is not a whole number") +
         " and is compared as 0; expected digits, e.g. 80";
}

std::optional<std::string> ActionProblem(std::string_view action) {
  if (ParseAction(action) != RuleAction::kNone) return std::nullopt;
  return Named("action", action) +
         " and the rule fires without effect; expected " + kExpectedActions;
}

}  // namespace

void CheckRule(std::string_view rule, int line, int content_column,
               std::vector<Finding>& findings) {
  const auto add = [&](size_t offset, std::string message) {
    findings.push_back(
        {line, content_column + static_cast<int>(offset), std::move(message)});
  };
  // The reader's own split, and where each of its fields begins.
  const RuleFields fields = SplitRule(rule);
  const FieldStarts starts = FindFieldStarts(rule);
  if (starts.terminated < kRuleFields) {
    add(rule.size(),
        "rule " + Quoted(rule) + " has " + std::to_string(starts.terminated) +
            " of its 4 \";\", so its later fields read as empty; expected "
            "item;operator;value;action;");
  }
  // A field without its ";" is told of by the count above.
  const std::optional<std::string> problems[kRuleFields] = {
      ItemProblem(fields.item), OperatorProblem(fields.op),
      ValueProblem(fields.value), ActionProblem(fields.action)};
  for (int field = 0; field < starts.terminated; ++field) {
    const auto index = static_cast<size_t>(field);
    if (problems[index]) add(starts.at[index], *problems[index]);
  }
  const size_t after = starts.at[kRuleFields];
  if (starts.terminated == kRuleFields && after < rule.size()) {
    add(after, "text " + Quoted(rule.substr(after)) +
                   " after the action's \";\" is ignored; expected the end "
                   "of the line");
  }
}

void CheckActionMarks(char marker, std::string_view settings, int line,
                      int content_column, std::vector<Finding>& findings) {
  // "X" (or "E") switches on, "." or a blank off; the orb reads any other
  // character as off, which is seldom what its writer meant.
  const int fields_column = ActionFieldsColumn(marker);
  for (const ActionMark& mark : ActionMarks(marker)) {
    if (mark.column >= fields_column) continue;
    const std::string found = Mid(settings, mark.column, 1);
    if (found.empty() || found[0] == mark.on || found[0] == '.' ||
        found[0] == ' ') {
      continue;
    }
    const int column = content_column + mark.column - 1;
    findings.push_back({line, column,
                        SatelliteWord(marker) + ": " + mark.name + " " +
                            Quoted(found) + " is unknown; expected \"" +
                            mark.on + "\", \".\" or a blank in column " +
                            std::to_string(column)});
  }
}

}  // namespace vigil::cli
