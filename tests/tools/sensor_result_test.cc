// The sensor's result text, checked the way the orb reads it.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "monitor/item_table.h"
#include "monitor/result_reader.h"
#include "monitor/string_list.h"
#include "sensor/result_text.h"
#include "store/value_parser.h"

namespace vigil::sensor {
namespace {

// The orb's own reading of a result text: its item rows.
std::vector<ItemRow> AsTheOrbReadsIt(const std::string& result_text) {
  ResultReaderSettings settings;
  settings.chart_bar_indices = "xxxxxxxx";  // no filler rows
  ItemTable items;
  StringList work;
  ReadResultText(result_text, settings, items, work);
  return items.rows();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find("\r\n", start);
    EXPECT_NE(end, std::string::npos) << "line without CR LF at " << start;
    if (end == std::string::npos) break;
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

struct ValueCase {
  double value;
  int decimals;
  double read_back;  // what the orb must end up with
};

TEST(FormatValueTest, TheOrbReadsBackWhatWasMeasured) {
  const std::vector<ValueCase> cases = {
      {0.14, 2, 0.14},
      {0.0, 2, 0.0},
      {0.005, 2, 0.01},
      {2.5, 1, 2.5},
      {75.0, 1, 75.0},
      {99.96, 1, 100.0},
      {100.0, 1, 100.0},
      {999.994, 2, 999.99},
      {1000.0, 2, 1000.0},
      {0.0834, 2, 0.08},
      {12.345678, 6, 12.3457},
      // Out of the readable range: clamped rather than misread as 1.234.
      {1234.5, 2, 1000.0},
      {-3.0, 1, 0.0},
      {NAN, 2, 0.0},
  };
  for (const ValueCase& c : cases) {
    const std::string text = FormatValue(c.value, c.decimals);
    SCOPED_TRACE(std::to_string(c.value) + " as \"" + text + "\"");
    EXPECT_LE(text.size(), 7u);
    EXPECT_EQ(text.find(','), std::string::npos);
    SensorResult result;
    result.channels = {{"Value", c.value, c.decimals, UnitKind::kPerCent, ""}};
    const std::vector<ItemRow> rows = AsTheOrbReadsIt(RenderResult(result));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].unit, "%");
    const std::optional<double> read = ParseValue(rows[0].data, kNumberFormatE);
    ASSERT_TRUE(read.has_value()) << rows[0].data;
    EXPECT_NEAR(*read, c.read_back, 1e-9);
  }
}

SensorResult SampleResult() {
  SensorResult result;
  result.steps = {{"LOAD", "/proc/loadavg", "Done"}, {"PROFILE", "Global", ""}};
  result.channels = {{"Load Average", 0.5, 2, UnitKind::kCustom, "Load"},
                     {"Memory Used", 42.26, 1, UnitKind::kPerCent, ""},
                     {"Response Time", 0.4, 2, UnitKind::kTimeResponse, ""}};
  result.text = "vm: Debian 12, 2 CPUs";
  return result;
}

TEST(RenderResultTest, EveryTagStartsItsOwnLine) {
  const std::vector<std::string> lines = Lines(RenderResult(SampleResult()));
  const std::vector<std::string> expected = {
      "<Prtg>",
      "* LOAD     /proc/loadavg State=Done",
      "* PROFILE  Global",
      "<Text>(Lnx) vm: Debian 12, 2 CPUs (vigil-sensor)</Text>",
      "<Result><Channel>Load Average</Channel>",
      "<Value>0.50</Value>",
      "<Unit>Custom</Unit>",
      "<CustomUnit>Load</CustomUnit>",
      "</Result>",
      "<Result><Channel>Memory Used</Channel>",
      "<Value>42.3</Value>",
      "<Unit>PerCent</Unit>",
      "</Result>",
      "<Result><Channel>Response Time</Channel>",
      "<Value>0.40</Value>",
      "<Unit>TimeResponse</Unit>",
      "</Result>",
      "</Prtg>",
  };
  EXPECT_EQ(lines, expected);
}

TEST(RenderResultTest, TheOrbGetsNamesAndUnits) {
  const std::vector<ItemRow> rows =
      AsTheOrbReadsIt(RenderResult(SampleResult()));
  ASSERT_EQ(rows.size(), 3u);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Load Average", "Load"},
      {"Memory Used", "%"},
      {"Response Time", "mSec"}};
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].item, expected[i].first);
    EXPECT_EQ(rows[i].unit, expected[i].second);
  }

  ResultReaderSettings settings;
  settings.chart_bar_indices = "xxxxxxxx";
  ItemTable items;
  StringList work;
  const ResultReading reading =
      ReadResultText(RenderResult(SampleResult()), settings, items, work);
  EXPECT_EQ(reading.message_line, " vm: Debian 12, 2 CPUs");
}

TEST(RenderResultTest, AnErrorIsTheOnlyAndLastTextLine) {
  SensorResult result = SampleResult();
  result.error = "TCP connect to 127.0.0.1:1 failed: Connection refused";
  const std::vector<std::string> lines = Lines(RenderResult(result));
  std::vector<std::string> texts;
  for (const std::string& line : lines) {
    if (line.rfind("<Text>", 0) == 0) texts.push_back(line);
  }
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0],
            "<Text>Error TCP connect to 127.0.0.1:1 failed: Connection "
            "refused</Text>");
  EXPECT_EQ(lines.back(), "</Prtg>");
}

TEST(RenderResultTest, OutsideTextCannotBreakTheLines) {
  SensorResult result;
  result.text = "host (x) <b> & co\nnext";
  result.channels = {{"Disk <1>", 1, 0, UnitKind::kCustom, "a</CustomUnit>"}};
  const std::vector<std::string> lines = Lines(RenderResult(result));
  ASSERT_EQ(lines.size(), 8u);
  // One " (" only: the orb cuts the text there.
  const std::string& text = lines[1];
  EXPECT_EQ(text.find(" ("), text.rfind(" ("));
  EXPECT_EQ(text.find('<', 1), text.rfind("</Text>"));
  EXPECT_EQ(lines[2], "<Result><Channel>Disk _1_</Channel>");
  EXPECT_EQ(lines[5], "<CustomUnit>a_/CustomUnit_</CustomUnit>");
}

struct StepCase {
  ProcessingStep step;
  std::string line;
};

TEST(ProcessingLineTest, CaptionFillsColumnsThreeToTen) {
  const std::vector<StepCase> cases = {
      {{"DISK", "/ ext4", "Done"}, "* DISK     / ext4 State=Done"},
      {{"RESPONSE", "tcp a:1", "Failed"}, "* RESPONSE tcp a:1 State=Failed"},
      {{"TOO-LONG-CAPTION", "x", ""}, "* TOO-LONG x"},
      // " #" would start a comment, "State=" a state.
      {{"DISK", "/mnt/a #1 State=odd", "Done"},
       "* DISK     /mnt/a _1 State:odd State=Done"},
  };
  for (const StepCase& c : cases) {
    EXPECT_EQ(ProcessingLine(c.step), c.line);
  }
}

}  // namespace
}  // namespace vigil::sensor
