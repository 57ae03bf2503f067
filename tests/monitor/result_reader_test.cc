#include "monitor/result_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vigil {
namespace {

// An image no special case uses, so that the configured one is visible.
constexpr int kRowImage = 7;

struct Reading {
  ItemTable items;
  StringList work;
  ResultReading result;
};

Reading Read(std::string_view text, std::string chart_bars = "xxxxxxxx") {
  Reading reading;
  reading.work.Append("left over from the last cycle");
  reading.result = ReadResultText(text, {kRowImage, std::move(chart_bars)},
                                  reading.items, reading.work);
  return reading;
}

std::string Record(std::string_view channel, std::string_view value,
                   std::string_view unit_lines = "") {
  std::string text = "<Result><Channel>" + std::string(channel) +
                     "</Channel>\n<Value>" + std::string(value) + "</Value>\n";
  if (!unit_lines.empty()) text += std::string(unit_lines) + "\n";
  return text + "</Result>\n";
}

std::string Result(std::string_view body) {
  return "<Prtg>\n" + std::string(body) + "</Prtg>\n";
}

struct ValueCase {
  std::string value;
  std::string data;
  std::string unit;
  int image;
};

TEST(ResultReaderTest, FormatsValuesForTheDisplay) {
  const std::vector<ValueCase> cases = {
      {"1234", "1.234", "#", kRowImage},
      {"1234567", "1.234.567", "#", kRowImage},
      {"1000", "1000", "#", kRowImage},
      {"1001", "1.001", "#", kRowImage},
      {"0,25", ".25", "#", kRowImage},
      {"No", "0", "#", kRowImage},
      {"0344", "344", "#", kRowImage},
      {"0078", "78", "#", kRowImage},
      {"0.5", ".5", "#", kRowImage},
      {"0007", "07", "#", kRowImage},  // only two leading zeros go
      {"00", "0", "#", kRowImage},
      {"0", "0", "#", kRowImage},
      {"1234.5678", "1.235", "#", kRowImage},  // fraction rounded away
      {"1999.9996", "2.000", "#", kRowImage},
      {"999999999", "999.999.999", "#", kRowImage},
      {"12,345", "12.345", "#", kRowImage},  // not above 1000: kept as text
      {"-42", "-42", "#", kRowImage},
      {"-1500", "-1500", "#", kRowImage},
      {"2e3", "2.000", "#", kRowImage},
      {"disk offline", "disk offline", "Error", 22},
      {"", "", "Error", 22},
      {"1,234,567", "1.234.567", "Error", 22},  // two points: no number
      {"NO", "NO", "Error", 22},
      {"0x10", "0x10", "Error", 22},
      {"inf", "inf", "Error", 22},
      {"nan", "nan", "Error", 22},
  };
  for (const ValueCase& c : cases) {
    SCOPED_TRACE("value \"" + c.value + "\"");
    const Reading reading = Read(Result(Record("Load", c.value)));
    ASSERT_EQ(reading.items.size(), 1u);
    EXPECT_EQ(reading.items[0].data, c.data);
    EXPECT_EQ(reading.items[0].unit, c.unit);
    EXPECT_EQ(reading.items[0].image_index, c.image);
  }
}

TEST(ResultReaderTest, ValueOutsideTheDoubleRangeIsAnErrorRow) {
  const std::string digits(400, '9');
  const Reading reading = Read(Result(Record("Huge", digits)));
  ASSERT_EQ(reading.items.size(), 1u);
  EXPECT_EQ(reading.items[0].data, digits);
  EXPECT_EQ(reading.items[0].unit, "Error");
  EXPECT_EQ(reading.items[0].image_index, 22);
}

TEST(ResultReaderTest, VeryLargeValueIsShownInThousands) {
  // 1e300 in thousands has 298 digits before its three decimals; the
  // point goes in before the last seven characters.
  const Reading reading =
      Read(Result(Record("Huge", "1" + std::string(300, '0'))));
  ASSERT_EQ(reading.items.size(), 1u);
  const std::string& data = reading.items[0].data;
  ASSERT_EQ(data.size(), 298u + 4u + 1u);
  EXPECT_EQ(data[0], '1');
  EXPECT_EQ(data[data.size() - 8], '.');
  EXPECT_EQ(data.substr(data.size() - 4), ".000");
  EXPECT_EQ(std::count(data.begin(), data.end(), '.'), 2);
  EXPECT_EQ(reading.items[0].unit, "#");
}

struct UnitCase {
  std::string unit_lines;
  std::string unit;
};

TEST(ResultReaderTest, ReadsUnits) {
  const std::vector<UnitCase> cases = {
      {"", "#"},
      {"<Unit>PerCent</Unit>", "%"},
      {"<Unit>TimeResponse</Unit>", "mSec"},
      {"<CustomUnit>PerCent</CustomUnit>", "%"},
      {"<CustomUnit>TimeResponse</CustomUnit>", "mSec"},
      {"<Unit>Custom</Unit>\n<CustomUnit>users</CustomUnit>", "Users"},
      {"<CustomUnit>KB</CustomUnit>", "Kb"},
      {"<CustomUnit>MegaByte</CustomUnit>", "MegaByte"},
      {"<VolumeSize>KILOBYTE</VolumeSize>", "Kilobyte"},
      {"<CustomUnit>State</CustomUnit>", "State"},
      {"<Unit>Custom</Unit>", "#"},
      // A later check overrides an earlier one, wherever the tags stand...
      {"<CustomUnit>GB</CustomUnit>\n<Unit>PerCent</Unit>", "Gb"},
      {"<Unit>TimeResponse</Unit>\n<CustomUnit>sec</CustomUnit>", "Sec"},
      {"<CustomUnit>users</CustomUnit>\n<VolumeSize>Byte</VolumeSize>", "Byte"},
      // ...except right behind the PerCent tag, which takes two characters
      // of the next tag with it.
      {"<Unit>PerCent</Unit>\n<CustomUnit>GB</CustomUnit>", "%"},
      {"<Unit>PerCent</Unit>\n<VolumeSize>MB</VolumeSize>", "%"},
      // Tags are case-sensitive.
      {"<Unit>Percent</Unit>", "#"},
      {"<unit>PerCent</unit>", "#"},
  };
  for (const UnitCase& c : cases) {
    SCOPED_TRACE(c.unit_lines);
    const Reading reading = Read(Result(Record("Disk", "5", c.unit_lines)));
    ASSERT_EQ(reading.items.size(), 1u);
    EXPECT_EQ(reading.items[0].unit, c.unit);
  }
}

TEST(ResultReaderTest, ChannelCounterSkipsRecordsWithoutChannel) {
  const Reading reading =
      Read(Result(Record("First", "1") + "<Result><Value>2</Value></Result>\n" +
                  Record("Second", "3")));
  ASSERT_EQ(reading.items.size(), 3u);
  EXPECT_EQ(reading.items[0].label, "01:");
  EXPECT_EQ(reading.items[1].label, "");
  EXPECT_EQ(reading.items[1].item, "");
  EXPECT_EQ(reading.items[1].data, "2");
  EXPECT_EQ(reading.items[2].label, "02:");
  EXPECT_EQ(reading.items[2].item, "Second");
}

struct TextCase {
  std::string line;
  std::string record;
};

TEST(ResultReaderTest, KeepsTheMessageOfTextRecords) {
  const std::vector<TextCase> cases = {
      {"<Text>(abc) Profile finished (SAP Quillon) (V3)</Text>",
       " Profile finished (SAP Quillon)"},
      {"<Text>Profile ready (SAP Quillon)</Text>", " Profile ready"},
      {"<Text>No parentheses at all</Text>", " "},
      {"<Text>(dlg) Dialog check (SAP Quillon)</Text>", " Dialog check"},
      {"<Text>HttpOrb0102</Text>", " "},
      // The tag stays when there is no ") ", so six characters of the
      // marker and the tag are not all of it.
      {"<Text>(abc)Message (SAP Quillon)</Text>", " (abc)Message"},
      {"   <Text>(abc) Indented (x)</Text>   ", " Indented"},
      // The code is taken to be three letters: a shorter one costs
      // characters of the message.
      {"<Text>(a) First (x)</Text>", " rst"},
      {"<Text>Error 17 in RFC call (SAP Quillon)</Text>",
       " Error 17 in RFC call"},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.line);
    const Reading reading = Read(Result(c.line + "\n"));
    ASSERT_EQ(reading.work.Count(), 1u);
    EXPECT_EQ(reading.work.Get(0), c.record);
    EXPECT_EQ(reading.result.message_line, c.record);
    EXPECT_TRUE(reading.items.empty());
  }
}

TEST(ResultReaderTest, SecondParenthesisCutsOnlyWithinReach) {
  // The second " (" must lie within the 99 characters after the first;
  // between them stand the gap and ")", so it fits for a gap up to 96.
  const auto text_with_gap = [](size_t gap) {
    return "<Text>(abc) Message (" + std::string(gap, 'x') +
           ") (tail)</Text>\n";
  };
  const Reading near = Read(Result(text_with_gap(96)));
  EXPECT_EQ(near.work.Get(0), " Message (" + std::string(96, 'x') + ")");
  const Reading far = Read(Result(text_with_gap(97)));
  EXPECT_EQ(far.work.Get(0), " Message");
}

TEST(ResultReaderTest, MessageLineIsTheLastTextRecord) {
  const Reading reading =
      Read(Result("<Text>(abc) First (x)</Text>\n" + Record("Load", "1") +
                  "<Text>(abc) Second (x)</Text>\n" + Record("Load", "2")));
  ASSERT_EQ(reading.work.Count(), 2u);
  EXPECT_EQ(reading.work.Get(0), " First");
  EXPECT_EQ(reading.work.Get(1), " Second");
  EXPECT_EQ(reading.result.message_line, " Second");
  EXPECT_EQ(reading.items.size(), 2u);
}

TEST(ResultReaderTest, WithoutTextRecordsTheMessageLineIsEmpty) {
  const Reading reading = Read(Result(Record("Load", "1")));
  EXPECT_TRUE(reading.work.empty());  // the old entry is gone too
  EXPECT_EQ(reading.result.message_line, "");
}

TEST(ResultReaderTest, UserSensorNameIsCapitalised) {
  const Reading reading = Read(
      Result("<Text>(usr) User-Sensor: DISK CHECK (SAP Quillon)</Text>\n"));
  EXPECT_EQ(reading.work.Get(0), " User-Sensor: DISK CHECK");
  EXPECT_EQ(reading.result.message_line, " User-Sensor: Disk Check");
  // Only a line that begins with it.
  const Reading other =
      Read(Result("<Text>(usr) My User-Sensor: DISK (x)</Text>\n"));
  EXPECT_EQ(other.result.message_line, " My User-Sensor: DISK");
}

struct ItemCase {
  std::string channel;
  std::string value;
  std::string item;
  std::string data;
  int image;
};

TEST(ResultReaderTest, BuildsItemRows) {
  const std::vector<ItemCase> cases = {
      {"CPU LOAD", "5", "Cpu Load", "5", kRowImage},
      {"disk_free(c:)", "5", "Disk_Free(C:)", "5", kRowImage},
      {"MixedCase", "5", "MixedCase", "5", kRowImage},
      {"* Total", "5", "* Total", "5", 71},
      {"* Total", "n/a", "* Total", "n/a", 22},
      // A wrapped context-switch counter after a three-character prefix.
      {"01 Context Switches", "-5", "01 Context Switches", "0", kRowImage},
      {"01 CONTEXT SWITCHES", "-5", "01 Context Switches", "0", kRowImage},
      {"01 Context(s) per second", "-17", "01 Context(s) per second", "0",
       kRowImage},
      {"01 Context Switches", "5", "01 Context Switches", "5", kRowImage},
      {"Context Switches", "-5", "Context Switches", "-5", kRowImage},
      {"01 Page Faults", "-5", "01 Page Faults", "-5", kRowImage},
  };
  for (const ItemCase& c : cases) {
    SCOPED_TRACE(c.channel + " = " + c.value);
    const Reading reading = Read(Result(Record(c.channel, c.value)));
    ASSERT_EQ(reading.items.size(), 1u);
    EXPECT_EQ(reading.items[0].item, c.item);
    EXPECT_EQ(reading.items[0].data, c.data);
    EXPECT_EQ(reading.items[0].image_index, c.image);
  }
}

struct StateCase {
  std::string channel;
  std::string value;
  std::string unit_lines;
  std::string item;
  int image;
  std::string color;
};

TEST(ResultReaderTest, TurnsStatesIntoImagesAndStateDigits) {
  const std::vector<StateCase> cases = {
      {"Queue", "0", "<CustomUnit>State</CustomUnit>", "Queue", 73, "0"},
      {"Queue", "1", "<CustomUnit>State</CustomUnit>", "Queue", 74, "1"},
      {"Queue", "2", "<CustomUnit>State</CustomUnit>", "Queue", 75, "2"},
      {"Queue", "3", "<CustomUnit>State</CustomUnit>", "Queue", 76, "3"},
      {"Queue", "4", "<CustomUnit>State</CustomUnit>", "Queue", kRowImage,
       "clLime"},
      {"0: * Job", "1", "", "* Job", 71, "0"},
      {"1: * Job", "1", "", "* Job", 68, "1"},
      {"2: * Job", "1", "", "* Job", 69, "2"},
      {"3: * Job", "1", "", "* Job", 70, "3"},
      {"0: Disk", "1", "", "Disk", 66, "0"},
      {"1: Disk", "1", "", "Disk", 62, "1"},
      {"2: Disk", "1", "", "Disk", 63, "2"},
      {"3: DISK", "1", "", "Disk", 64, "3"},
      {"4: Disk", "1", "", "4: Disk", kRowImage, "clLime"},
      {"2:Disk", "1", "", "2:Disk", kRowImage, "clLime"},
      // The item's state prefix wins over the unit State.
      {"3: Queue", "0", "<CustomUnit>State</CustomUnit>", "Queue", 64, "3"},
      // An unreadable value is no state.
      {"Queue", "n/a", "<CustomUnit>State</CustomUnit>", "Queue", 22, "clLime"},
  };
  for (const StateCase& c : cases) {
    SCOPED_TRACE(c.channel + " = " + c.value);
    const Reading reading =
        Read(Result(Record(c.channel, c.value, c.unit_lines)));
    ASSERT_EQ(reading.items.size(), 1u);
    EXPECT_EQ(reading.items[0].item, c.item);
    EXPECT_EQ(reading.items[0].image_index, c.image);
    EXPECT_EQ(reading.items[0].color, c.color);
  }
}

TEST(ResultReaderTest, StateOfTheFirstRowKeepsTheOtherColours) {
  const Reading reading =
      Read(Result(Record("2: Jobs", "1") + Record("Spool", "4") +
                  Record("3: Backup", "1")));
  ASSERT_EQ(reading.items.size(), 3u);
  EXPECT_EQ(reading.items[0].color, "2");
  EXPECT_EQ(reading.items[1].color, ".");
  EXPECT_EQ(reading.items[2].color, "3");
}

TEST(ResultReaderTest, FirstRowWithoutStateRecoloursEveryRow) {
  const Reading reading = Read(Result(
      Record("Spool", "4") + Record("2: Jobs", "1") + Record("Backup", "1")));
  ASSERT_EQ(reading.items.size(), 3u);
  EXPECT_EQ(reading.items[0].color, "clLime");
  EXPECT_EQ(reading.items[1].color, "clYellow");  // its "2" is overwritten
  EXPECT_EQ(reading.items[1].image_index, 63);
  EXPECT_EQ(reading.items[2].color, "clAqua");
}

struct FillerCase {
  std::string chart_bars;
  size_t records;
  size_t rows;
};

TEST(ResultReaderTest, PadsTheTableForChartBarIndexes) {
  const std::vector<FillerCase> cases = {
      {"05xxxxxx", 3, 6}, {"06xxxxxx", 3, 7},
      {"xx05xxxx", 3, 3},  // no kept item: no padding at all
      {"01xx07xx", 3, 8},  // the largest index counts
      {"02030405", 3, 6}, {"02xxxxxx", 3, 3},  // row 2 exists
      {"01xxxxxx", 0, 2}, {"99xxxxxx", 1, 100},
      {"0axxxxxx", 3, 3},  // not a number: ignored
      {"  xxxxxx", 3, 3}, {"-1xxxxxx", 3, 3},
      {"", 3, 3},  // a short record has no indexes
  };
  for (const FillerCase& c : cases) {
    SCOPED_TRACE("indexes \"" + c.chart_bars + "\"");
    std::string body;
    for (size_t i = 0; i < c.records; ++i) body += Record("Item", "1");
    const Reading reading = Read(Result(body), c.chart_bars);
    EXPECT_EQ(reading.items.size(), c.rows);
  }
}

TEST(ResultReaderTest, FillerRowsAreMarkedAndColoured) {
  const Reading reading =
      Read(Result(Record("A", "1") + Record("B", "2") + Record("C", "3")),
           "06xxxxxx");
  ASSERT_EQ(reading.items.size(), 7u);
  for (size_t i = 3; i < 7; ++i) {
    SCOPED_TRACE(i);
    const ItemRow& row = reading.items[i];
    EXPECT_EQ(row.label, "Dummy");
    EXPECT_EQ(row.item, "Rfc-Error");
    EXPECT_EQ(row.data, "0");
    EXPECT_EQ(row.unit, ".");
    EXPECT_EQ(row.image_index, 22);
  }
  // Row 0 carries no state, so the fillers get channel colours too.
  EXPECT_EQ(reading.items[3].color, "clFuchsia");
  EXPECT_EQ(reading.items[6].color, "clTeal");
}

TEST(ResultReaderTest, FontColourMarksTheSapCompanion) {
  EXPECT_EQ(
      Read(Result("<Text>(a) Done (SAP Quillon)</Text>\n")).items.font_colour(),
      kMaroon);
  // Anywhere in the text, even on a line the reader ignores.
  EXPECT_EQ(
      Read(Result("<Comment>(SAP Quillon)</Comment>\n")).items.font_colour(),
      kMaroon);
  EXPECT_EQ(
      Read(Result("<Text>(a) Done (SAP-Quillon)</Text>\n")).items.font_colour(),
      kBlack);
}

TEST(ResultReaderTest, ChartUnitIsTheUnitOfRowZero) {
  const Reading reading =
      Read(Result(Record("A", "1", "<Unit>TimeResponse</Unit>") +
                  Record("B", "1", "<Unit>PerCent</Unit>")));
  EXPECT_EQ(reading.result.chart_unit, "mSec");
  EXPECT_EQ(Read(Result("")).result.chart_unit, std::nullopt);
}

TEST(ResultReaderTest, RecordsAreJoinedDroppedOrCompleted) {
  const Reading reading = Read(Result(
      // No "</Result>": joined with the next record, first channel and
      // first value win.
      "<Result><Channel>Joined</Channel>\n<Value>5</Value>\n"
      "<Result><Channel>Other</Channel>\n<Value>7</Value>\n</Result>\n"
      // Dropped by the text line that follows.
      "<Result><Channel>Dropped</Channel>\n<Value>9</Value>\n"
      "<Text>(tbw) Between (x)</Text>\n"
      // One line, opened by a value.
      "<Value>11</Value></Result>\n"
      // Dropped at the end.
      "<Result><Channel>Unfinished</Channel>\n<Value>13</Value>\n"));
  ASSERT_EQ(reading.items.size(), 2u);
  EXPECT_EQ(reading.items[0].item, "Joined");
  EXPECT_EQ(reading.items[0].data, "5");
  EXPECT_EQ(reading.items[1].label, "");
  EXPECT_EQ(reading.items[1].data, "11");
  EXPECT_EQ(reading.work.lines(), std::vector<std::string>{" Between"});
}

TEST(ResultReaderTest, OtherLinesAreIgnored) {
  const Reading reading =
      Read(Result("* DIALOG   Monthly check State=Done\n"
                  "<Result><Channel>Load</Channel>\n"
                  "<Float>1</Float>\n"
                  "<Channel>Ignored</Channel>\n"
                  "<LimitMaxError>90</LimitMaxError>\n"
                  "<Value>3</Value>\n"
                  "</Result>\n"));
  ASSERT_EQ(reading.items.size(), 1u);
  EXPECT_EQ(reading.items[0].item, "Load");
  EXPECT_EQ(reading.items[0].data, "3");
  EXPECT_TRUE(reading.work.empty());
}

TEST(ResultReaderTest, SettingsComeFromTheRecord) {
  std::string record(77, ' ');
  record.replace(37, 2, "12");
  record.replace(40, 8, "03xx05xx");
  const ResultReaderSettings settings = ResultReaderSettingsFor(record);
  EXPECT_EQ(settings.row_image, 12);
  EXPECT_EQ(settings.chart_bar_indices, "03xx05xx");
  record.replace(37, 2, "ab");
  EXPECT_EQ(ResultReaderSettingsFor(record).row_image, 0);
  EXPECT_EQ(ResultReaderSettingsFor("0102 short").chart_bar_indices, "");
}

}  // namespace
}  // namespace vigil
