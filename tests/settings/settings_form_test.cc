#include "settings/settings_form.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/record_builder.h"

namespace vigil {
namespace {

using testing::RecordBuilder;

SettingsSource Source(const RecordBuilder& record, bool gauge_chosen = false) {
  SettingsSource source;
  source.record = record.Text();
  source.gauge_chosen = gauge_chosen;
  source.rules = {"Cpu;>=;80;Set Alert;", "Disk;>;90;Warning;"};
  source.actions.state_mail = "X E;mail";
  source.actions.trace = "X E     X . . ;";  // values traced, not enabled
  return source;
}

TEST(SettingsFormTest, FillingFollowsTheColumns) {
  RecordBuilder record;
  record.number = "0305";
  record.chart_type = '4';
  record.delay = "  120";
  record.hold = '!';
  record.id_kind = '3';
  record.chart_bars = "01xxxxxx";
  const SettingsFields fields = FillSettingsFields(Source(record));
  EXPECT_EQ(fields.caption, " Alter Settings for Dialog (03/05)...");
  EXPECT_EQ(fields.title, "My Title");
  EXPECT_EQ(fields.chart_kind, 4);
  EXPECT_EQ(fields.delay_text, "  120");
  EXPECT_EQ(fields.selection, "Devices");
  EXPECT_TRUE(fields.max_bars_enabled);
  EXPECT_FALSE(fields.history_enabled);
  EXPECT_FALSE(fields.sorting_enabled);  // a chosen first bar
  EXPECT_TRUE(Check(fields, SettingsCheck::kHold).checked);
  EXPECT_TRUE(Check(fields, SettingsCheck::kMails).checked);
  EXPECT_TRUE(Check(fields, SettingsCheck::kMails).enabled);
  EXPECT_TRUE(Check(fields, SettingsCheck::kValueTrace).checked);
  EXPECT_FALSE(Check(fields, SettingsCheck::kValueTrace).enabled);
  ASSERT_EQ(fields.rule_rows.size(), 2u);
  EXPECT_EQ(fields.rule_rows[1].value, "90");
  EXPECT_EQ(fields.active,
            (std::array<bool, kLabelButtons>{false, true, true, false}));
}

TEST(SettingsFormTest, SpinsAndBarFieldsStayInTheirRanges) {
  struct Case {
    const char* name;
    std::function<void(SettingsFields&)> act;
    std::function<std::string(const SettingsFields&)> shown;
    std::string expected;
  };
  auto delay = [](const SettingsFields& f) { return f.delay_text; };
  auto bars = [](const SettingsFields& f) {
    return f.bars[0] + f.bars[1] + f.bars[2] + f.bars[3];
  };
  auto set_delay = [](const char* text) {
    return [text](SettingsFields& f) { f.delay_text = text; };
  };
  const Case cases[] = {
      {"delay 15 down",
       [&](SettingsFields& f) { set_delay("   15")(f), SpinDelay(f, -1); },
       delay, "   10"},
      {"delay 10 down", [](SettingsFields& f) { SpinDelay(f, -1); }, delay,
       "   10"},
      {"delay near the top up",
       [&](SettingsFields& f) { set_delay("99995")(f), SpinDelay(f, 1); },
       delay, "99999"},
      {"a typed dash steps from the digits",
       [&](SettingsFields& f) { set_delay("-50")(f), SpinDelay(f, 1); }, delay,
       "   60"},
      {"history 004 down",
       [](SettingsFields& f) {
         f.history_enabled = true, f.history_bars = 4;
         SpinHistoryBars(f, -1);
       },
       [](const SettingsFields& f) { return std::to_string(f.history_bars); },
       "4"},
      {"max bars 00 down", [](SettingsFields& f) { SpinMaxBars(f, -1); },
       [](const SettingsFields& f) { return std::to_string(f.max_bars); }, "0"},
      {"first bar over four rows",
       [](SettingsFields& f) {
         std::string seen;
         for (int i = 0; i < 6; ++i) {
           StepFirstBar(f, 4);
           seen += f.bars[0] + " ";
         }
         f.bars[0] = seen;
       },
       [](const SettingsFields& f) { return f.bars[0]; }, "00 01 02 03 xx 00 "},
      {"a first bar beyond the table",
       [](SettingsFields& f) { f.bars[0] = "07", StepFirstBar(f, 4); }, bars,
       "xxxxxxxx"},
      {"rotation from the third field",
       [](SettingsFields& f) {
         f.bars = {"01", "02", "03", "xx"}, RotateBars(f, 2);
       },
       bars, "030102xx"},
      {"no rotation of an empty field",
       [](SettingsFields& f) {
         f.bars = {"01", "02", "03", "xx"}, RotateBars(f, 3);
       },
       bars, "010203xx"},
  };
  RecordBuilder record;
  record.chart_mode = 'x';  // history: bars 2 to 4 enabled
  record.delay = "   10";
  for (const Case& c : cases) {
    SettingsFields fields = FillSettingsFields(Source(record, true));
    fields.max_bars_enabled = true;
    c.act(fields);
    EXPECT_EQ(c.shown(fields), c.expected) << c.name;
  }
}

TEST(SettingsFormTest, SaveChecksTheRuleAndTheDelayBeforeWritingAnything) {
  struct Case {
    const char* name;
    std::function<void(SettingsFields&, std::vector<std::string>&)> act;
    std::optional<std::string> refusal;
    std::vector<std::string> rules;
  };
  auto new_rule = [](const char* item, const char* value, const char* action) {
    return [=](SettingsFields& f, std::vector<std::string>&) {
      NewRule(f);
      f.editor.fields.item = item;
      f.editor.fields.value = value;
      f.editor.fields.action = action;
    };
  };
  const std::vector<std::string> both = {"Cpu;>=;80;Set Alert;",
                                         "Disk;>;90;Warning;"};
  const Case cases[] = {
      {"a new rule without a value", new_rule("Cpu", " ", "Green"),
       kInvalidRuleMessage, both},
      {"a new rule without an action",
       new_rule(" Mem ", "5", ""),
       std::nullopt,
       {both[0], both[1], "Mem;>;5;;"}},
      {"select, then New",
       [&](SettingsFields& f, std::vector<std::string>& r) {
         SelectRule(f, 0);
         new_rule("Net", "1", "Aqua")(f, r);
       },
       std::nullopt,
       {both[0], both[1], "Net;>;1;Aqua;"}},
      {"an edited rule replaces its row",
       [](SettingsFields& f, std::vector<std::string>&) {
         EditRule(f, 1);
         f.editor.fields.value = "95";
       },
       std::nullopt,
       {both[0], "Disk;>;95;Warning;"}},
      {"a purge goes at once, even when the save is refused",
       [](SettingsFields& f, std::vector<std::string>& r) {
         SelectRule(f, 0);
         PurgeRule(f, r);
         f.delay_text = "1,5";
       },
       kDelayRefusal,
       {both[1]}},
      {"a delay below ten",
       [](SettingsFields& f, auto&) { f.delay_text = "9"; }, kDelayRefusal,
       both},
      {"a negative delay",
       [](SettingsFields& f, auto&) { f.delay_text = "-60"; }, kDelayRefusal,
       both},
  };
  for (const Case& c : cases) {
    SettingsSource source = Source(RecordBuilder());
    SettingsFields fields = FillSettingsFields(source);
    std::vector<std::string> rules = source.rules;
    c.act(fields, rules);
    ActionSettings actions = source.actions;
    EXPECT_EQ(SaveSettingsFields(fields, rules, actions), c.refusal) << c.name;
    EXPECT_EQ(rules, c.rules) << c.name;
    EXPECT_EQ(AlteredFrom(fields).has_value(), c.refusal != kDelayRefusal)
        << c.name;
    if (c.refusal) {
      EXPECT_FALSE(Active(fields, LabelButton::kSave)) << c.name;
    }
  }
}

TEST(SettingsFormTest, SaveWritesTheSwitchesIntoTheActionSettings) {
  SettingsSource source = Source(RecordBuilder());
  source.actions.value_mail = "X E;value";
  source.actions.state_exec = "";  // no exec settings: nothing to mark
  SettingsFields fields = FillSettingsFields(source);
  SetChecked(fields, SettingsCheck::kMails, false);
  SetChecked(fields, SettingsCheck::kValueTrace, false);  // not enabled
  SetChecked(fields, SettingsCheck::kExecs, true);
  std::vector<std::string> rules;
  ActionSettings actions = source.actions;
  ASSERT_EQ(SaveSettingsFields(fields, rules, actions), std::nullopt);
  EXPECT_EQ(actions.state_mail, ". E;mail");
  EXPECT_EQ(actions.value_mail, ". E;value");
  EXPECT_EQ(actions.state_exec, "");
  EXPECT_EQ(actions.trace, "X E     X . . ;");
}

}  // namespace
}  // namespace vigil
