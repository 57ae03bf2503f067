#include "vigil/satellite_findings.h"

#include <array>
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

}  // namespace

void CheckRule(std::string_view rule, int line, int content_column,
               std::vector<Finding>& findings) {
  const auto add = [&](size_t offset, std::string message) {
    findings.push_back(
        {line, content_column + static_cast<int>(offset), std::move(message)});
  };
  // The reader's own split, and where each of its fields begins.
  const RuleFields fields = SplitRule(rule);
  std::array<size_t, kRuleFields + 1> starts{};
  int terminated = 0;
  size_t end = rule.find(';');
  while (terminated < kRuleFields && end != std::string_view::npos) {
    starts[static_cast<size_t>(++terminated)] = end + 1;
    end = rule.find(';', end + 1);
  }
  if (terminated < kRuleFields) {
    add(rule.size(),
        "rule " + Quoted(rule) + " has " + std::to_string(terminated) +
            " of its 4 \";\", so its later fields read as empty; expected "
            "item;operator;value;action;");
  }
  if (terminated >= 1 && fields.item.empty()) {
    add(starts[0],
        "rule has no item; expected an item name, <All Items>, "
        "<No of Items> or <Response> before the first \";\"");
  }
  if (terminated >= 2 && ParseOperator(fields.op) == RuleOperator::kNone) {
    add(starts[1], Named("operator", fields.op) +
                       " and the rule never fires; expected =, <>, >, >=, < "
                       "or <=");
  }
  if (terminated >= 3 && !ParseInteger(fields.value)) {
    add(starts[2], (fields.value.empty() ? std::string("value is missing")
                                         : "value " + Quoted(fields.value) +
                                               " is not a whole number") +
                       " and is compared as 0; expected digits, e.g. 80");
  }
  if (terminated >= 4 && ParseAction(fields.action) == RuleAction::kNone) {
    add(starts[3], Named("action", fields.action) +
                       " and the rule fires without effect; expected " +
                       kExpectedActions);
  }
  if (terminated == kRuleFields && starts[kRuleFields] < rule.size()) {
    add(starts[kRuleFields],
        "text " + Quoted(rule.substr(starts[kRuleFields])) +
            " after the action's \";\" is ignored; expected the end of the "
            "line");
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
