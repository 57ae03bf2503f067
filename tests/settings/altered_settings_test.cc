#include "settings/altered_settings.h"

#include <gtest/gtest.h>

#include "support/record_builder.h"

namespace vigil {
namespace {

using testing::RecordBuilder;

// The dialog's values as the record in RecordBuilder holds them.
AlteredSettings Unchanged() {
  AlteredSettings settings;
  settings.title = "My Title";
  settings.delay = 60;
  settings.history_bars = 10;
  settings.gauge_choice = "Typ 00";
  settings.image_choice = "Img 00";
  return settings;
}

TEST(AlteredSettingsTest, WritesOnlyWhatChangedAndSaysWhatToRedo) {
  struct Case {
    const char* name;
    void (*change)(AlteredSettings&);
    std::string column_text;  // expected text at the column
    int column;
    bool delay_changed, chart_reshaped;
  } cases[] = {
      {"title", [](AlteredSettings& s) { s.title = "Renamed"; }, "Renamed",
       78 + 26, false, false},
      {"delay", [](AlteredSettings& s) { s.delay = 120; }, "  120", 29, true,
       false},
      {"kind", [](AlteredSettings& s) { s.chart_kind = 4; }, "4", 18, false,
       true},
      {"sorting", [](AlteredSettings& s) { s.sorting = '3'; }, "3", 50, false,
       true},
      {"bars", [](AlteredSettings& s) { s.bars[1] = "02"; }, "xx02", 41, false,
       true},
      {"max bars", [](AlteredSettings& s) { s.max_bars = 5; }, "05", 26, false,
       true},
      {"gauge, five characters",
       [](AlteredSettings& s) { s.gauge_choice = "Typ 7"; }, "7", 34, false,
       false},
      {"flags", [](AlteredSettings& s) { s.hold = s.keep_data = true; }, "!",
       55, false, false},
  };
  RecordBuilder builder;
  builder.tail = "Dialog.Prf;Check.Exe;addr;My Title";
  const std::string before = builder.Text();
  for (const Case& c : cases) {
    AlteredSettings settings = Unchanged();
    c.change(settings);
    ConfigRecord record(before);
    const AlterOutcome outcome = WriteAlteredSettings(settings, record);
    EXPECT_TRUE(outcome.written) << c.name;
    EXPECT_EQ(outcome.delay_changed, c.delay_changed) << c.name;
    EXPECT_EQ(outcome.chart_reshaped, c.chart_reshaped) << c.name;
    EXPECT_EQ(record.text().substr(static_cast<size_t>(c.column) - 1,
                                   c.column_text.size()),
              c.column_text)
        << c.name;
  }
  // Nothing changed: the same record, byte for byte.
  ConfigRecord record(before);
  WriteAlteredSettings(Unchanged(), record);
  EXPECT_EQ(record.text(), before);
  // The five-character gauge choice writes "0" as its units digit.
  AlteredSettings gauge = Unchanged();
  gauge.gauge_choice = "Typ 7";
  WriteAlteredSettings(gauge, record);
  EXPECT_EQ(record.gauge_number(), "70");
}

TEST(AlteredSettingsTest, ARecordWithoutATailIsNotWritten) {
  ConfigRecord record("0102 Short record");
  EXPECT_FALSE(WriteAlteredSettings(Unchanged(), record).written);
  EXPECT_EQ(record.text(), "0102 Short record");
}

TEST(AlteredSettingsTest, DelayFieldTakesWholeSecondsFrom10To99999) {
  const std::pair<const char*, std::optional<int>> cases[] = {
      {"60", 60},
      {" 120 ", 120},
      {"10", 10},
      {"99999", 99999},
      {"9", std::nullopt},
      {"100000", std::nullopt},
      {"-60", std::nullopt},
      {"6,0", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [text, seconds] : cases) {
    EXPECT_EQ(ParseDelayField(text), seconds) << text;
  }
}

TEST(AlteredSettingsTest, HistoryFollowsItsItemsToTheirNewBars) {
  HistoryState history;
  history.count = 1;
  history.values[0] = {1, 2, 0, 0};
  history.values[1] = {3, 4, 0, 0};
  RemapHistory({"00", "01", "xx", "xx"}, {"01", "00", "xx", "xx"}, history);
  EXPECT_EQ(history.values[0], (std::array<double, 4>{2, 1, 0, 0}));
  EXPECT_EQ(history.values[1], (std::array<double, 4>{4, 3, 0, 0}));
  // A bar the old selection did not have gets nothing carried over, and
  // an index beyond "03" keeps the bar's values.
  RemapHistory({"01", "00", "xx", "xx"}, {"00", "07", "01", "xx"}, history);
  EXPECT_EQ(history.values[0], (std::array<double, 4>{1, 1, 0, 0}));
}

}  // namespace
}  // namespace vigil
