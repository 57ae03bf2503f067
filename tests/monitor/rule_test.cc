#include "monitor/rule.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace vigil {
namespace {

TEST(RuleSplitTest, FieldsEndAtTheirSemicolon) {
  struct Case {
    const char* text;
    const char* item;
    const char* op;
    const char* value;
    const char* action;
  };
  const Case cases[] = {
      {"<All Items>;>=;60;Set Alert;", "<All Items>", ">=", "60", "Set Alert"},
      // Without the fourth ";" the action is empty, so the rule is inert.
      {"Load;>;5;Aqua", "Load", ">", "5", ""},
      {"Load;>;5", "Load", ">", "", ""},
      {"Load", "", "", "", ""},
      {"", "", "", "", ""},
      {";;;;", "", "", "", ""},
      {"Load;=;  7;Warning;rest;", "Load", "=", "  7", "Warning"},
      // Blanks belong to the fields: the item must match a row exactly.
      {" Load ;<>;1;<Mail>;", " Load ", "<>", "1", "<Mail>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const RuleFields fields = SplitRule(c.text);
    EXPECT_EQ(fields.item, c.item);
    EXPECT_EQ(fields.op, c.op);
    EXPECT_EQ(fields.value, c.value);
    EXPECT_EQ(fields.action, c.action);
  }
}

TEST(RuleValueTest, OnlyWholeNumbersCount) {
  const std::pair<const char*, int> cases[] = {
      {"60", 60},         {"  7", 7},  {"7 ", 7},
      {"-3", -3},         {"12.5", 0}, {"1,5", 0},
      {"7x", 0},          {"abc", 0},  {"", 0},
      {"  ", 0},          {"0", 0},    {"2147483647", 2147483647},
      {"99999999999", 0},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(ParseRuleValue(text), expected) << '"' << text << '"';
  }
}

TEST(RuleOperatorTest, ComparesTheValueWithTheRuleValue) {
  struct Case {
    const char* op;
    double compared;
    int value;
    bool fires;
  };
  const Case cases[] = {
      {"=", 5, 5, true},
      {"=", 5.5, 5, false},
      {"<>", 5, 5, false},
      {"<>", 4.9, 5, true},
      {">", 5, 5, false},
      {">", 5.01, 5, true},
      {">=", 5, 5, true},
      {">=", 4.99, 5, false},
      {"<", 5, 5, false},
      {"<", -1, 0, true},
      {"<=", 5, 5, true},
      {"<=", 5.01, 5, false},
      // Unknown or missing operators never fire, whatever the values.
      {"", 5, 5, false},
      {"==", 5, 5, false},
      {"=>", 6, 5, false},
      {" >", 6, 5, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.op) + " " + std::to_string(c.compared) + " " +
                 std::to_string(c.value));
    EXPECT_EQ(Fires(ParseOperator(c.op), c.compared, c.value), c.fires);
  }
}

TEST(RuleActionTest, NamesAreExact) {
  struct Case {
    const char* text;
    RuleAction action;
    std::optional<Rgb> colour;
  };
  const Case cases[] = {
      {"Aqua", RuleAction::kColour, Rgb{0, 255, 255}},
      {"Fuchsia", RuleAction::kColour, Rgb{255, 0, 255}},
      {"Blue", RuleAction::kColour, Rgb{0, 0, 255}},
      {"Teal", RuleAction::kColour, Rgb{0, 128, 128}},
      {"Maroon", RuleAction::kColour, Rgb{128, 0, 0}},
      {"Green", RuleAction::kColour, Rgb{0, 128, 0}},
      {"Olive", RuleAction::kColour, Rgb{128, 128, 0}},
      {"Navy", RuleAction::kColour, Rgb{0, 0, 128}},
      {"Purple", RuleAction::kColour, Rgb{128, 0, 128}},
      {"Silver", RuleAction::kColour, Rgb{192, 192, 192}},
      {"Warning", RuleAction::kWarning, std::nullopt},
      {"Set Alert", RuleAction::kAlert, std::nullopt},
      {"<Mail>", RuleAction::kMail, std::nullopt},
      {"<Exec>", RuleAction::kExec, std::nullopt},
      {"<Trace>", RuleAction::kTrace, std::nullopt},
      // The signal colours are not colour actions; the dialog's "Lime"
      // is not one either.
      {"Lime", RuleAction::kNone, std::nullopt},
      {"Yellow", RuleAction::kNone, std::nullopt},
      {"Red", RuleAction::kNone, std::nullopt},
      {"aqua", RuleAction::kNone, std::nullopt},
      {"Alert", RuleAction::kNone, std::nullopt},
      {"Warning ", RuleAction::kNone, std::nullopt},
      {"", RuleAction::kNone, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseAction(c.text), c.action);
    EXPECT_EQ(ColourAction(c.text), c.colour);
  }
}

}  // namespace
}  // namespace vigil
