#include "monitor/rule_evaluation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "store/text_file.h"
#include "support/record_builder.h"
#include "support/temp_dir.h"

namespace vigil {
namespace {

using testing::RecordBuilder;
using testing::TempDir;

struct HandOver {
  ActionKind kind;
  ActionContext context;
};

class RecordingDispatch : public ActionDispatch {
 public:
  void Trace(ActionKind kind, const ActionContext& context) override {
    hand_overs.push_back({kind, context});
  }
  std::vector<HandOver> hand_overs;
};

ItemRow Row(std::string item, std::string data, std::string unit = "%") {
  ItemRow row;
  row.label = "01:";
  row.item = std::move(item);
  row.data = std::move(data);
  row.unit = std::move(unit);
  row.color = ".";
  return row;
}

// A row as the readers make it: the number kept beside its display.
ItemRow ReadRow(std::string item, std::string data, double value,
                SensorLimits limits = {}) {
  ItemRow row = Row(std::move(item), std::move(data));
  row.value = value;
  row.limits = limits;
  return row;
}

const std::vector<ItemRow> kThreeRows = {Row("Load", "50"), Row("Disk", "70"),
                                         Row("Swap", "10")};

// Value mails, value execs and value traces all switched on.
ActionSettings AllValueActionsOn() {
  ActionSettings actions;
  actions.value_mail = "X E mail";
  actions.value_exec = "X E exec";
  actions.trace = "X E X E X E X E log;";
  return actions;
}

class RuleEvaluationTest : public ::testing::Test {
 protected:
  RuleEvaluationTest() : log_(dir_ / "RfcOrbs.Log") {
    log_.set_context({"RfcOrb", record_.Text(), "DIALOG", false});
  }

  // One good cycle as the cycle runs it: the colour at cycle start is the
  // table's colour left by the previous cycle.
  RuleOutcome Cycle(const std::vector<std::string>& rules,
                    const std::vector<ItemRow>& rows = kThreeRows) {
    items_.Clear();
    for (const ItemRow& row : rows) items_.Append(row);
    values_.colour_at_cycle_start = items_.colour();
    RuleInputs inputs;
    inputs.zoomed = zoomed_;
    inputs.today = today_;
    inputs.sensor_limits = sensor_limits_;
    return EvaluateRules({record_.Text(), rules, actions_}, inputs, items_,
                         values_, log_, dispatch_);
  }

  // "code message" per line of the event log, oldest first.
  std::vector<std::string> LoggedEvents() const {
    std::vector<std::string> events;
    const auto lines = ReadLines(log_.file());
    if (!lines) return events;
    for (const std::string& line : *lines) {
      events.push_back(line.substr(18, 4) + " " +
                       line.substr(line.rfind(';') + 1));
    }
    return events;
  }

  std::vector<double> TriggerValues() const {
    std::vector<double> values;
    for (const HandOver& h : dispatch_.hand_overs) {
      values.push_back(h.context.trigger_value);
    }
    return values;
  }

  TempDir dir_;
  EventLog log_;
  RecordBuilder record_;
  ItemTable items_;
  OrbValues values_ = InitialOrbValues("AuxOrb");
  RecordingDispatch dispatch_;
  ActionSettings actions_;
  bool zoomed_ = false;
  bool sensor_limits_ = true;
  std::string today_ = "08.12.26";
};

TEST_F(RuleEvaluationTest, OrbColourFromTheFiredRules) {
  struct Case {
    const char* name;
    std::vector<std::string> rules;
    Rgb colour;
  };
  const Case cases[] = {
      {"no rules", {}, kNeutral},
      {"aqua then warning", {"Load;>;0;Aqua;", "Load;>;0;Warning;"}, kYellow},
      {"warning then aqua", {"Load;>;0;Warning;", "Load;>;0;Aqua;"}, kYellow},
      {"alert then warning",
       {"Load;>;0;Set Alert;", "Disk;>;0;Warning;"},
       kRed},
      {"alert then colour", {"Load;>;0;Set Alert;", "Swap;>;0;Teal;"}, kRed},
      {"warning then alert",
       {"Load;>;0;Warning;", "Load;>;0;Set Alert;"},
       kRed},
      // The alert rule's row comes first: later rows cannot lower it.
      {"alert on an earlier row",
       {"Swap;>;0;Warning;", "Load;>;0;Set Alert;"},
       kRed},
      {"later colour wins", {"Load;>;0;Aqua;", "Disk;>;0;Navy;"}, kNavy},
      {"lime has no effect", {"Load;>;0;Lime;"}, kNeutral},
      {"other item", {"Cpu;>;0;Warning;"}, kNeutral},
      {"item is case-sensitive", {"load;>;0;Warning;"}, kNeutral},
      {"threshold not reached", {"Disk;>=;71;Set Alert;"}, kNeutral},
      {"threshold reached", {"Disk;>=;70;Set Alert;"}, kRed},
      {"any item reaches it", {"<All Items>;>=;60;Set Alert;"}, kRed},
      {"no item reaches it", {"<All Items>;>;70;Set Alert;"}, kNeutral},
      {"missing operator", {"Load;;0;Warning;"}, kNeutral},
      {"missing last semicolon", {"Load;>;0;Warning"}, kNeutral},
      // "12.5" counts as 0: 10 > 0 fires, 10 < 0 does not.
      {"decimal rule value above", {"Swap;>;12.5;Warning;"}, kYellow},
      {"decimal rule value below", {"Swap;<;12.5;Warning;"}, kNeutral},
      {"number of rows", {"<No of Items>;=;3;Set Alert;"}, kRed},
      {"number of rows differs", {"<No of Items>;<>;3;Set Alert;"}, kNeutral},
      {"response time", {"<Response>;>;1000;Warning;"}, kYellow},
      {"response time below", {"<Response>;>;1500;Warning;"}, kNeutral},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    items_.set_colour(kNeutral);
    values_.acquisition_time = std::chrono::milliseconds(1500);
    const RuleOutcome outcome = Cycle(c.rules);
    EXPECT_EQ(outcome.orb_colour, c.colour);
    EXPECT_EQ(values_.orb_colour, c.colour);
    EXPECT_EQ(outcome.display_colour, c.colour);
    EXPECT_EQ(items_.colour(), c.colour);
  }
}

TEST_F(RuleEvaluationTest, DataIsReadWithTheNumberFormat) {
  values_.number_format = 'D';
  EXPECT_EQ(Cycle({"Load;=;1234;Warning;"}, {Row("Load", "1.234")}).orb_colour,
            kYellow);
  items_.set_colour(kNeutral);
  values_.number_format = 'E';
  EXPECT_EQ(Cycle({"Load;=;1234;Warning;"}, {Row("Load", "1,234")}).orb_colour,
            kYellow);
  // "No" reads as 0.
  EXPECT_EQ(Cycle({"Load;=;0;Set Alert;"}, {Row("Load", "No")}).orb_colour,
            kRed);
}

// The display shows 23817 as "23.817"; the rules see what the source gave.
TEST_F(RuleEvaluationTest, RulesAndSensorLimitsCompareTheKeptNumber) {
  SensorLimits max_90_80;
  max_90_80.max_error = 90;
  max_90_80.max_warning = 80;
  SensorLimits min_10_20;
  min_10_20.min_error = 10;
  min_10_20.min_warning = 20;
  SensorLimits flagged;
  flagged.warning = true;
  struct Case {
    const char* name;
    ItemRow row;
    std::vector<std::string> rules;
    bool sensor_limits;
    Rgb colour;
  };
  const Case cases[] = {
      {"thousands shown, number compared",
       ReadRow("Power_On_Hours", "23.817", 23817),
       {"Power_On_Hours;>=;20000;Warning;"},
       true,
       kYellow},
      {"a fraction shown without its zero",
       ReadRow("Load", ".5", 0.5),
       {"Load;>;0;Set Alert;"},
       true,
       kRed},
      {"above the error limit",
       ReadRow("Temp", "95", 95, max_90_80),
       {},
       true,
       kRed},
      {"above the warning limit",
       ReadRow("Temp", "85", 85, max_90_80),
       {},
       true,
       kYellow},
      {"on the limit is within",
       ReadRow("Temp", "80", 80, max_90_80),
       {},
       true,
       kNeutral},
      {"below the error limit",
       ReadRow("Free", "5", 5, min_10_20),
       {},
       true,
       kRed},
      {"below the warning limit",
       ReadRow("Free", "15", 15, min_10_20),
       {},
       true,
       kYellow},
      {"the sensor's warning flag",
       ReadRow("Any", "1", 1, flagged),
       {},
       true,
       kYellow},
      {"own rules still apply on top",
       ReadRow("Temp", "85", 85, max_90_80),
       {"Temp;>;0;Set Alert;"},
       true,
       kRed},
      {"the header turns limits off",
       ReadRow("Temp", "95", 95, max_90_80),
       {},
       false,
       kNeutral},
      {"and the warning flag",
       ReadRow("Any", "1", 1, flagged),
       {},
       false,
       kNeutral},
  };
  for (const Case& c : cases) {
    items_.set_colour(kNeutral);
    sensor_limits_ = c.sensor_limits;
    EXPECT_EQ(Cycle(c.rules, {c.row}).orb_colour, c.colour) << c.name;
  }
}

TEST_F(RuleEvaluationTest, SpecialItemsFireOncePerRow) {
  actions_ = AllValueActionsOn();
  values_.acquisition_time = std::chrono::milliseconds(800);
  struct Case {
    const char* rule;
    std::vector<double> trigger_values;
  };
  const Case cases[] = {
      {"<All Items>;>=;0;<Mail>;", {50, 70, 10}},
      {"<No of Items>;=;3;<Mail>;", {3, 3, 3}},
      {"<Response>;=;800;<Mail>;", {800, 800, 800}},
      {"Disk;>=;0;<Mail>;", {70}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    dispatch_.hand_overs.clear();
    Cycle({c.rule});
    EXPECT_EQ(TriggerValues(), c.trigger_values);
    const bool every_row = c.trigger_values.size() == kThreeRows.size();
    for (size_t i = 0; i < dispatch_.hand_overs.size(); ++i) {
      const HandOver& h = dispatch_.hand_overs[i];
      EXPECT_EQ(h.kind, ActionKind::kValueMail);
      EXPECT_EQ(h.context.item, every_row ? kThreeRows[i].item : "Disk");
      EXPECT_EQ(h.context.unit, "%");
    }
  }
}

TEST_F(RuleEvaluationTest, ValueActionsNeedTheirSwitch) {
  struct Case {
    const char* name;
    const char* action;
    ActionSettings actions;
    ActionKind kind;
    bool handed_over;
  };
  const Case cases[] = {
      {"mail on",
       "<Mail>",
       {"", "X E a;b", "", "", ""},
       ActionKind::kValueMail,
       true},
      {"mail released only",
       "<Mail>",
       {"", "X . a;b", "", "", ""},
       ActionKind::kValueMail,
       false},
      {"mail empty", "<Mail>", {}, ActionKind::kValueMail, false},
      {"mail, state mail on",
       "<Mail>",
       {"X E", "", "", "", ""},
       ActionKind::kValueMail,
       false},
      {"exec on",
       "<Exec>",
       {"", "", "", "X E run", ""},
       ActionKind::kValueExec,
       true},
      {"exec, value mail on",
       "<Exec>",
       {"", "X E", "", "", ""},
       ActionKind::kValueExec,
       false},
      {"exec, state exec on",
       "<Exec>",
       {"", "", "X E", "", ""},
       ActionKind::kValueExec,
       false},
      {"trace on",
       "<Trace>",
       {"", "", "", "", ". . . . X E . . . "},
       ActionKind::kValueTrace,
       true},
      {"trace, mail log on",
       "<Trace>",
       {"", "", "", "", "X E X E . . X E "},
       ActionKind::kValueTrace,
       false},
      {"trace, short settings",
       "<Trace>",
       {"", "", "", "", "X E X E X"},
       ActionKind::kValueTrace,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dispatch_.hand_overs.clear();
    actions_ = c.actions;
    const RuleOutcome outcome =
        Cycle({std::string("  Disk C: ;>;60;") + c.action + ";"},
              {Row("Load", "50"), Row("  Disk C: ", "70", "GByte")});
    ASSERT_EQ(dispatch_.hand_overs.size(), c.handed_over ? 1u : 0u);
    // The context is prepared whether or not the action runs.
    ASSERT_TRUE(outcome.action_context);
    EXPECT_EQ(outcome.action_context->item, "Disk C:");
    EXPECT_EQ(outcome.action_context->unit, "GByte");
    EXPECT_EQ(outcome.action_context->trigger_value, 70);
    if (c.handed_over) {
      EXPECT_EQ(dispatch_.hand_overs[0].kind, c.kind);
      EXPECT_EQ(dispatch_.hand_overs[0].context.item, "Disk C:");
    }
    // A value action paints nothing.
    EXPECT_EQ(outcome.orb_colour, kNeutral);
  }
}

TEST_F(RuleEvaluationTest, TheLastHandOverIsTheContext) {
  actions_ = AllValueActionsOn();
  const RuleOutcome outcome =
      Cycle({"<All Items>;>;20;<Trace>;", "Load;>;0;<Exec>;"});
  ASSERT_EQ(dispatch_.hand_overs.size(), 3u);
  EXPECT_EQ(dispatch_.hand_overs[1].kind, ActionKind::kValueExec);
  ASSERT_TRUE(outcome.action_context);
  EXPECT_EQ(outcome.action_context->item, "Disk");
  EXPECT_EQ(outcome.action_context->trigger_value, 70);
  EXPECT_FALSE(Cycle({"Load;>;99;<Exec>;"}).action_context);
}

// Rules per cycle and the expected orb colour, display colour and event log
// after each, with the hold flag off and on.
struct CycleStep {
  std::vector<std::string> rules;
  Rgb orb_colour;
  Rgb display_colour;
};
struct SequenceCase {
  const char* name;
  char hold;
  std::vector<CycleStep> steps;
  std::vector<std::string> events;
};

TEST_F(RuleEvaluationTest, StateSequences) {
  const std::vector<std::string> warn = {"Load;>;0;Warning;"};
  const std::vector<std::string> alert = {"Load;>;0;Set Alert;"};
  const std::vector<std::string> aqua = {"Load;>;0;Aqua;"};
  const std::vector<std::string> none;
  const SequenceCase cases[] = {
      {"lime for one cycle",
       '.',
       {{none, kNeutral, kNeutral},
        {warn, kYellow, kYellow},
        {warn, kYellow, kYellow},
        {none, kLime, kLime},
        {none, kNeutral, kNeutral}},
       {"Warn Warning...", "Rset Reset State..."}},
      {"alert after warning",
       '.',
       {{warn, kYellow, kYellow},
        {alert, kRed, kRed},
        {aqua, kAqua, kAqua},
        {none, kNeutral, kNeutral}},
       {"Warn Warning...", "Alrt Set Alert...", "Rset Reset State..."}},
      {"hold keeps yellow",
       '!',
       {{warn, kYellow, kYellow},
        {none, kLime, kYellow},
        {none, kLime, kYellow},
        {aqua, kAqua, kYellow}},
       {"Warn Warning...", "Rset Reset State..."}},
      {"hold rises to red and keeps it",
       '!',
       {{warn, kYellow, kYellow},
        {alert, kRed, kRed},
        {warn, kYellow, kRed},
        {none, kLime, kRed}},
       {"Warn Warning...", "Alrt Set Alert...", "Warn Warning...",
        "Rset Reset State..."}},
      // Only yellow and red are held.
      {"hold ignores colours",
       '!',
       {{aqua, kAqua, kAqua}, {none, kNeutral, kNeutral}},
       {}},
  };
  for (const SequenceCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(log_.file());
    items_.set_colour(kNeutral);
    values_ = InitialOrbValues("AuxOrb");
    record_.hold = c.hold;
    for (size_t i = 0; i < c.steps.size(); ++i) {
      SCOPED_TRACE("cycle " + std::to_string(i + 1));
      const RuleOutcome outcome = Cycle(c.steps[i].rules);
      EXPECT_EQ(outcome.orb_colour, c.steps[i].orb_colour);
      EXPECT_EQ(values_.orb_colour, c.steps[i].orb_colour);
      EXPECT_EQ(outcome.display_colour, c.steps[i].display_colour);
      EXPECT_EQ(items_.colour(), c.steps[i].display_colour);
    }
    EXPECT_EQ(LoggedEvents(), c.events);
  }
}

TEST_F(RuleEvaluationTest, ZoomFlag) {
  struct Case {
    const char* name;
    char zoom_flag;
    char hold;
    bool zoomed;
    Rgb start_colour;  // the table's colour from the previous cycle
    std::vector<std::string> rules;
    bool zoom;
    bool unzoom;
  };
  const std::vector<std::string> alert = {"Load;>;0;Set Alert;"};
  const std::vector<std::string> warn = {"Load;>;0;Warning;"};
  const Case cases[] = {
      {"turns red", '!', '.', false, kNeutral, alert, true, false},
      {"stays red zoomed", '!', '.', true, kRed, alert, false, false},
      {"falls to yellow", '!', '.', true, kRed, warn, false, true},
      {"lime after red", '!', '.', true, kRed, {}, false, true},
      {"neutral, not zoomed", '!', '.', false, kNeutral, {}, false, false},
      {"flag off, red", '.', '.', false, kNeutral, alert, false, false},
      {"flag off, zoomed by hand", '.', '.', true, kNeutral, {}, false, false},
      // The held red does not keep the zoom: it follows the rules' colour.
      {"held red unzooms", '!', '!', true, kRed, {}, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    record_.zoom = c.zoom_flag;
    record_.hold = c.hold;
    zoomed_ = c.zoomed;
    items_.set_colour(c.start_colour);
    const RuleOutcome outcome = Cycle(c.rules);
    EXPECT_EQ(outcome.zoom, c.zoom);
    EXPECT_EQ(outcome.unzoom, c.unzoom);
    EXPECT_EQ(outcome.show_legend_and_title, c.zoomed);
  }
}

TEST_F(RuleEvaluationTest, KeepDataComparesTheIncrease) {
  struct Step {
    const char* today;
    const char* data;
    double compared;
    double kept_increase;
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {"one day",
       {{"08.12.26", "100", 0, 0},
        {"08.12.26", "130", 30, 30},
        {"08.12.26", "120", 0, 0},
        {"08.12.26", "125", 5, 5}}},
      // The first cycle of a day still compares with the last value of the
      // day before; the increase shown restarts at 0.
      {"across days",
       {{"08.12.26", "100", 0, 0},
        {"08.12.26", "130", 30, 30},
        {"09.12.26", "150", 20, 0},
        {"09.12.26", "160", 10, 10}}},
      {"from zero",
       {{"08.12.26", "0", 0, 0},
        {"08.12.26", "40", 0, 40},
        {"08.12.26", "45", 5, 5}}},
  };
  actions_ = AllValueActionsOn();
  record_.keep_data = '!';
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    values_ = InitialOrbValues("AuxOrb");
    for (const Step& step : c.steps) {
      SCOPED_TRACE(step.data);
      dispatch_.hand_overs.clear();
      today_ = step.today;
      // "xx" in columns 41-42: the kept item is row 0.
      Cycle({"<All Items>;>=;0;<Trace>;"},
            {Row("Dialog Steps", step.data), Row("Users", "100")});
      EXPECT_EQ(TriggerValues(), (std::vector<double>{step.compared, 100}));
      EXPECT_EQ(values_.kept_increase, step.kept_increase);
      EXPECT_EQ(values_.kept_value, std::stod(step.data));
      EXPECT_EQ(values_.kept_date, step.today);
    }
  }
}

TEST_F(RuleEvaluationTest, KeptItemByIndex) {
  struct Case {
    const char* chart_bars;
    std::vector<double> second_cycle;  // trigger values of rows 0 and 1
    double kept_value;
  };
  const Case cases[] = {
      {"xxxxxxxx", {15, 200}, 115},
      {"01xxxxxx", {115, 0}, 200},
      {" 1xxxxxx", {115, 0}, 200},
      // Beyond the table or not an index: nothing is kept.
      {"05xxxxxx", {115, 200}, 0},
      {"ab020304", {115, 200}, 0},
  };
  actions_ = AllValueActionsOn();
  record_.keep_data = '!';
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chart_bars);
    values_ = InitialOrbValues("AuxOrb");
    record_.chart_bars = c.chart_bars;
    Cycle({}, {Row("A", "100"), Row("B", "200")});
    dispatch_.hand_overs.clear();
    Cycle({"<All Items>;>=;0;<Trace>;"}, {Row("A", "115"), Row("B", "200")});
    EXPECT_EQ(TriggerValues(), c.second_cycle);
    EXPECT_EQ(values_.kept_value, c.kept_value);
  }
}

TEST_F(RuleEvaluationTest, KeepDataOffLeavesTheKeptValues) {
  actions_ = AllValueActionsOn();
  Cycle({"A;>=;0;<Trace>;"}, {Row("A", "100")});
  Cycle({"A;>=;0;<Trace>;"}, {Row("A", "130")});
  EXPECT_EQ(TriggerValues(), (std::vector<double>{100, 130}));
  EXPECT_EQ(values_.kept_value, 0);
  EXPECT_EQ(values_.kept_date, kNoKeptDate);
}

TEST_F(RuleEvaluationTest, UnreadableDataIsNotCompared) {
  actions_ = AllValueActionsOn();
  const std::vector<ItemRow> rows = {Row("Load", "n/a", "Error"),
                                     Row("Disk", "70")};
  struct Case {
    const char* rule;
    Rgb colour;
    std::vector<std::string> handed_items;
  };
  const Case cases[] = {
      // As 0 it would fire on the broken row.
      {"<All Items>;<;1;Set Alert;", kNeutral, {}},
      {"Load;=;0;Warning;", kNeutral, {}},
      {"Load;<>;5;<Mail>;", kNeutral, {}},
      // The rows after it are still evaluated.
      {"<All Items>;>=;60;<Mail>;", kNeutral, {"Disk"}},
      {"<All Items>;>=;60;Set Alert;", kRed, {}},
      // These compare values that do not come from the row's Data.
      {"<No of Items>;=;2;<Mail>;", kNeutral, {"Load", "Disk"}},
      {"<Response>;=;0;<Mail>;", kNeutral, {"Load", "Disk"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    items_.set_colour(kNeutral);
    dispatch_.hand_overs.clear();
    EXPECT_EQ(Cycle({c.rule}, rows).orb_colour, c.colour);
    std::vector<std::string> items;
    for (const HandOver& h : dispatch_.hand_overs)
      items.push_back(h.context.item);
    EXPECT_EQ(items, c.handed_items);
  }
}

TEST_F(RuleEvaluationTest, UnreadableKeptItemKeepsTheKeptValues) {
  actions_ = AllValueActionsOn();
  record_.keep_data = '!';
  Cycle({}, {Row("Steps", "100")});
  Cycle({}, {Row("Steps", "130")});
  Cycle({"Steps;>=;0;<Trace>;"}, {Row("Steps", "", "Error")});
  EXPECT_TRUE(dispatch_.hand_overs.empty());
  EXPECT_EQ(values_.kept_value, 130);
  EXPECT_EQ(values_.kept_increase, 30);
  // The next readable value rises from the last readable one.
  Cycle({"Steps;>=;0;<Trace>;"}, {Row("Steps", "140")});
  EXPECT_EQ(TriggerValues(), std::vector<double>{10});
}

TEST_F(RuleEvaluationTest, EmptyTableEvaluatesNothing) {
  actions_ = AllValueActionsOn();
  record_.keep_data = '!';
  values_.kept_value = 50;
  const std::vector<std::string> rules = {"<No of Items>;=;0;Set Alert;",
                                          "<Response>;>=;0;<Mail>;"};
  EXPECT_EQ(Cycle(rules, {}).orb_colour, kNeutral);
  EXPECT_TRUE(dispatch_.hand_overs.empty());
  EXPECT_EQ(values_.kept_value, 50);
  EXPECT_EQ(values_.kept_date, kNoKeptDate);
  // A warning of the previous cycle still turns lime and is reset.
  Cycle({"A;>=;0;Warning;"}, {Row("A", "1")});
  EXPECT_EQ(Cycle(rules, {}).orb_colour, kLime);
  EXPECT_EQ(LoggedEvents(), (std::vector<std::string>{"Warn Warning...",
                                                      "Rset Reset State..."}));
}

}  // namespace
}  // namespace vigil
