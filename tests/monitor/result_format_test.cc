// The standard PRTG sensor outputs, XML and JSON, through the same seam the
// cycle uses: which format a text is taken for, and what rows it gives.
#include "monitor/result_format.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "monitor/prtg_json_format.h"
#include "monitor/prtg_xml_format.h"
#include "store/text.h"
#include "support/temp_dir.h"

namespace vigil {
namespace {

const ResultReaderSettings kSettings{7, "xxxxxxxx"};

std::string WithLf(std::string text) {
  std::erase(text, '\r');
  return text;
}

// UTF-8 (valid, as the test writes it) as UTF-16 code units.
std::u16string Utf16Of(std::string_view utf8) {
  std::u16string units;
  for (size_t at = 0; at < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[at]);
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t code = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (int i = 1; i < length; ++i) {
      code = (code << 6) | (static_cast<unsigned char>(utf8[at + i]) & 0x3F);
    }
    at += length;
    if (code >= 0x10000) {
      units += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
      units += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      units += static_cast<char16_t>(code);
    }
  }
  return units;
}

struct Reading {
  std::string format;
  ResultCheck check;
  ItemTable items;
  StringList work;
  ResultReading result;
};

Reading Read(std::string_view text) {
  const std::vector<std::string> lines = SplitLines(text);
  const ResultFormat& format = ResultFormatFor(lines);
  Reading reading;
  reading.format = std::string(format.name());
  reading.check = format.Check(lines);
  reading.result = format.Read(lines, kSettings, reading.items, reading.work);
  return reading;
}

// "item=data unit (value)" per row, as a glance at the listing shows it.
std::vector<std::string> Shown(const ItemTable& items) {
  std::vector<std::string> rows;
  for (const ItemRow& row : items.rows()) {
    std::string shown = row.label + row.item + "=" + row.data + " " + row.unit;
    if (row.value) {
      std::ostringstream number;
      number << std::setprecision(12) << *row.value;
      shown += " (" + number.str() + ")";
    }
    rows.push_back(shown);
  }
  return rows;
}

const std::vector<std::string> kTwoChannels = {"01:CPU Load=12 % (12)",
                                               "02:Free & Used=.5 # (0.5)"};

TEST(ResultFormatTest, EveryXmlLayoutReadsTheSame) {
  struct Case {
    const char* name;
    std::string text;
  } cases[] = {
      {"lower case, indented",
       "<prtg>\n  <result>\n    <channel>CPU Load</channel>\n"
       "    <value>12</value>\n    <unit>Percent</unit>\n  </result>\n"
       "  <result>\n    <channel>Free &amp; Used</channel>\n"
       "    <value>0.5</value>\n    <float>1</float>\n  </result>\n"
       "  <text>all fine</text>\n</prtg>\n"},
      {"one line, no final newline",
       "<prtg><result><channel>CPU Load</channel><value>12</value><unit>"
       "Percent</unit></result><result><channel>Free &#38; Used</channel>"
       "<value>0.5</value><float>1</float></result><text>all fine</text>"
       "</prtg>"},
      {"capitalised, channel on its own line, tabs, CR LF",
       "<Prtg>\r\n\t<Result>\r\n\t\t<Channel>CPU Load</Channel>\r\n"
       "\t\t<Value>12</Value>\r\n\t\t<Unit>Percent</Unit>\r\n\t</Result>\r\n"
       "\t<Result>\r\n\t\t<Channel>Free &amp; Used</Channel>\r\n"
       "\t\t<Value>0.5</Value><Float>1</Float>\r\n\t</Result>\r\n"
       "\t<Text>all fine</Text>\r\n</Prtg>\r\n"},
      {"declaration, comment, CDATA, text first, upper case",
       "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<!-- made by a script "
       "-->\n"
       "<PRTG><TEXT><![CDATA[all fine]]></TEXT>\n<RESULT><CHANNEL>CPU Load"
       "</CHANNEL><VALUE>12</VALUE><UNIT>PERCENT</UNIT><UNKNOWN>x</UNKNOWN>"
       "</RESULT><RESULT><CHANNEL><![CDATA[Free & Used]]></CHANNEL>"
       "<VALUE>0.5</VALUE><FLOAT>1</FLOAT></RESULT></PRTG>\n"},
      {"a line before the document and one after it",
       "WARNING: module loaded\n<prtg><result><channel>CPU Load</channel>"
       "<value>12</value><unit>Percent</unit></result><result><channel>"
       "Free &amp; Used</channel><value>0,5</value><float>1</float></result>"
       "<text>all fine</text></prtg>\nDone.\n"},
      {".NET's utf-16 declared, UTF-8 printed",
       "<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<prtg><result>"
       "<channel>CPU Load</channel><value>12</value><unit>Percent</unit>"
       "</result><result><channel>Free &amp; Used</channel><value>0.5</value>"
       "<float>1</float></result><text>all fine</text></prtg>"},
      {"processing lines inside, as the companion writes them",
       "<prtg>\n* DIALOG   Dialog work processes State=Active\n<result>"
       "<channel>CPU Load</channel><value>12</value><unit>Percent</unit>"
       "</result><result><channel>Free &amp; Used</channel><value>0.5</value>"
       "<float>1</float></result><text>all fine</text></prtg>"},
      {"Windows-1252 declared",
       "<?xml version=\"1.0\" encoding=\"windows-1252\"?><prtg><result>"
       "<channel>CPU Load</channel><value>12</value><unit>Percent</unit>"
       "</result><result><channel>Free &amp; Used</channel><value>0.5</value>"
       "<float>1</float></result><text>all fine</text></prtg>"},
  };
  for (const Case& c : cases) {
    const Reading reading = Read(c.text);
    EXPECT_EQ(reading.format, "PRTG XML") << c.name;
    EXPECT_TRUE(reading.check.complete) << c.name;
    EXPECT_EQ(reading.check.error_text, "") << c.name;
    EXPECT_EQ(reading.check.has_processing_lines,
              c.text.find("\n* ") != std::string::npos)
        << c.name;
    EXPECT_EQ(Shown(reading.items), kTwoChannels) << c.name;
    EXPECT_EQ(reading.result.message_line, " all fine") << c.name;
    EXPECT_EQ(reading.work.lines(), std::vector<std::string>{" all fine"})
        << c.name;
  }
}

TEST(ResultFormatTest, EveryJsonLayoutReadsTheSame) {
  struct Case {
    const char* name;
    std::string text;
  } cases[] = {
      {"as documented",
       "{\"prtg\": {\"result\": [{\"channel\": \"CPU Load\", \"value\": 12, "
       "\"unit\": \"Percent\"}, {\"channel\": \"Free & Used\", \"value\": 0.5,"
       " \"float\": 1}], \"text\": \"all fine\"}}"},
      {"keys in any case, numeric strings, a byte order mark",
       "\xEF\xBB\xBF{\"PRTG\": {\"Result\": [{\"Channel\": \"CPU Load\", "
       "\"Value\": \"12\", \"Unit\": \"percent\"}, {\"CHANNEL\": \"Free & "
       "Used\", \"VALUE\": \"0.5\", \"Float\": true}], \"Text\": \"all "
       "fine\"}}\n"},
      {"a line before the object and one after it",
       "Connecting...\n{\"prtg\": {\"result\": [{\"channel\": \"CPU Load\", "
       "\"value\": 12, \"unit\": \"Percent\"}, {\"channel\": \"Free & "
       "Used\", \"value\": 0.5, \"float\": 1}], \"text\": \"all fine\"}}\n"
       "done\n"},
  };
  for (const Case& c : cases) {
    const Reading reading = Read(c.text);
    EXPECT_EQ(reading.format, "PRTG JSON") << c.name;
    EXPECT_TRUE(reading.check.complete) << c.name;
    EXPECT_EQ(Shown(reading.items), kTwoChannels) << c.name;
    EXPECT_EQ(reading.result.message_line, " all fine") << c.name;
  }
}

TEST(ResultFormatTest, WindowsCodePageBytesReadAsTheScriptMeantThem) {
  // "Temperatur Kühlraum" and "°C" written by a Windows script.
  const Reading reading = Read(
      "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\n<prtg><result>"
      "<channel>K\xFChlraum \x80</channel><value>4</value>"
      "<customunit>\xB0"
      "C</customunit></result></prtg>");
  ASSERT_EQ(reading.items.size(), 1u);
  EXPECT_EQ(reading.items[0].item, "K\xC3\xBChlraum \xE2\x82\xAC");
  EXPECT_EQ(reading.items[0].unit,
            "\xC2\xB0"
            "C");
  // Undeclared, the same bytes are taken for the code page too.
  EXPECT_EQ(Read("<prtg><result><channel>K\xFChlraum</channel><value>4"
                 "</value></result></prtg>")
                .items[0]
                .item,
            "K\xC3\xBChlraum");
}

// Windows PowerShell writes UTF-16 with a byte order mark.
TEST(ResultFormatTest, AUtf16WorkFileReadsAsUtf8) {
  const std::string text =
      "{\"prtg\": {\"result\": [{\"channel\": \"K\xC3\xBChl \xF0\x9F\x8C\xA1\","
      " \"value\": 4}]}}\r\n";
  testing::TempDir dir;
  for (const bool little_endian : {true, false}) {
    std::string bytes = little_endian ? "\xFF\xFE" : "\xFE\xFF";
    for (const char16_t unit : Utf16Of(text)) {
      const char high = static_cast<char>(unit >> 8);
      const char low = static_cast<char>(unit & 0xFF);
      bytes += little_endian ? std::string{low, high} : std::string{high, low};
    }
    dir.Write("sensor.Wxx", bytes);
    const auto lines = ReadResultLines(dir / "sensor.Wxx");
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(*lines, SplitLines(WithLf(text))) << little_endian;
  }
}

TEST(ResultFormatTest, UnitWordsBecomeTheUnitsAnOperatorReads) {
  struct Case {
    std::string elements;  // inside <result>, beside a channel
    std::string shown;     // data and unit
  } cases[] = {
      {"<value>42</value><unit>Percent</unit>", "42 %"},
      {"<value>42</value><unit>CPU</unit>", "42 %"},
      {"<value>120</value><unit>TimeResponse</unit>", "120 mSec"},
      {"<value>30</value><unit>TimeSeconds</unit>", "30 s"},
      {"<value>17</value><unit>TimeHours</unit>", "17 h"},
      {"<value>9</value><unit>Count</unit>", "9 #"},
      {"<value>21</value><unit>Temperature</unit>",
       "21 \xC2\xB0"
       "C"},
      {"<value>5</value>", "5 #"},
      {"<value>5</value><unit>Custom</unit><customunit>rpm</customunit>",
       "5 rpm"},
      {"<value>50000</value><unit>Custom</unit><customunit>#</customunit>"
       "<volumesize>Kilo</volumesize>",
       "50 k#"},
      {"<value>3221225472</value><unit>BytesMemory</unit>", "3 GB"},
      {"<value>3221225472</value><unit>BytesDisk</unit>"
       "<volumesize>MegaByte</volumesize>",
       "3.072 MB"},
      {"<value>512</value><unit>BytesFile</unit>", "512 B"},
      {"<value>2048</value><unit>SpeedDisk</unit>", "2 KB/s"},
      {"<value>1250000</value><unit>SpeedNet</unit>"
       "<speedsize>MegaBit</speedsize>",
       "10 Mbit/s"},
      {"<value>1024</value><unit>BytesBandwidth</unit>"
       "<speedsize>KiloByte</speedsize><speedtime>Minute</speedtime>",
       "60 KB/min"},
      {"<value>7</value><unit>Widgets</unit>", "7 Widgets"},
      {"<value>1234.5678</value><float>1</float>", "1.235 #"},
      {"<value>3.14159</value><float>1</float><decimalmode>All</decimalmode>",
       "3.14159 #"},
      {"<value>0.004</value><float>1</float>", ".004 #"},
      {"<value>0.123456789</value><float>1</float>", ".12346 #"},
      {"<value>-12.3456</value><float>1</float>", "-12.346 #"},
      {"<value>-0.123456</value><float>1</float>", "-0.1235 #"},
      {"<value>2.71828</value><float>1</float><decimalmode>Auto</decimalmode>",
       "2.72 #"},
  };
  for (const Case& c : cases) {
    const Reading reading = Read("<prtg><result><channel>C</channel>" +
                                 c.elements + "</result></prtg>");
    ASSERT_EQ(reading.items.size(), 1u) << c.elements;
    EXPECT_EQ(reading.items[0].data + " " + reading.items[0].unit, c.shown)
        << c.elements;
  }
}

TEST(ResultFormatTest, ErrorsOddCasesAndProblemsInWords) {
  struct Case {
    const char* name;
    std::string text;
    bool complete;
    std::string error_text;
    std::vector<std::string> rows;
    std::vector<std::string> problems;
  } cases[] = {
      {"XML error report",
       "<prtg><error>1</error><text>Disk C: not found</text></prtg>",
       true,
       "Disk C: not found",
       {},
       {"error report: Disk C: not found"}},
      {"JSON error report",
       "{\"prtg\": {\"error\": 1, \"text\": \"login failed\"}}",
       true,
       "login failed",
       {},
       {"error report: login failed"}},
      {"error without a text",
       "<prtg><error>1</error></prtg>",
       true,
       "Error reported by the sensor",
       {},
       {"error report: Error reported by the sensor"}},
      {"error 0 is none",
       "<prtg><error>0</error><result><channel>A</channel><value>1</value>"
       "</result></prtg>",
       true,
       "",
       {"01:A=1 # (1)"},
       {}},
      {"empty result list",
       "{\"prtg\": {\"result\": []}}",
       false,
       "",
       {},
       {"no result channels"}},
      {"a value of text, a missing name, a duplicate",
       "<prtg><result><channel>A</channel><value>abc</value></result>"
       "<result><value>2</value></result><result><channel>A</channel>"
       "<value>3</value></result></prtg>",
       true,
       "",
       {"01:A=abc Error", "=2 # (2)", "02:A=3 # (3)"},
       {"value 'abc' of A is not a number", "no channel name on result 2",
        "duplicate channel name 'A' on results 1 and 3"}},
      {"a fraction without float",
       "<prtg><result><channel>A</channel><value>2.5</value></result></prtg>",
       true,
       "",
       {"01:A=2.5 # (2.5)"},
       {"value '2.5' of A has a fraction, but its float element is not 1"}},
      {"cut off before its end",
       "<prtg><result><channel>A</channel><value>1</value></result>",
       false,
       "",
       {"01:A=1 # (1)"},
       {"XML error at line 1: no element found"}},
      {"JSON without its prtg object",
       "{\"result\": []}",
       false,
       "",
       {},
       {"no \"prtg\" object", "no result channels"}},
  };
  for (const Case& c : cases) {
    const Reading reading = Read(c.text);
    EXPECT_EQ(reading.check.complete, c.complete) << c.name;
    EXPECT_EQ(reading.check.error_text, c.error_text) << c.name;
    EXPECT_EQ(Shown(reading.items), c.rows) << c.name;
    EXPECT_EQ(reading.result.problems, c.problems) << c.name;
  }
}

TEST(ResultFormatTest, LimitsCountOnlyWithTheirLimitMode) {
  const Reading reading = Read(
      "{\"prtg\": {\"result\": [{\"channel\": \"On\", \"value\": 5, "
      "\"limitmode\": 1, \"limitmaxerror\": \"90\", \"LimitMinWarning\": "
      "\"10,5\", \"warning\": 1}, {\"channel\": \"Off\", \"value\": 5, "
      "\"limitmaxerror\": 90}]}}");
  ASSERT_EQ(reading.items.size(), 2u);
  SensorLimits on;
  on.max_error = 90;
  on.min_warning = 10.5;
  on.warning = true;
  EXPECT_EQ(reading.items[0].limits, on);
  EXPECT_EQ(reading.items[1].limits, SensorLimits{});
}

// The companion's sensors and the PRTG client's writer keep their own
// reader; whatever it would misread goes to the XML parser.
TEST(ResultFormatTest, TheTextChoosesItsReader) {
  struct Case {
    std::string text;
    const char* format;
  } cases[] = {
      {"<Prtg>\n* STEP1    x\n<Text>(dlg) Done (SAP Quillon)</Text>\n"
       "<Result><Channel>A</Channel>\n<Value>1</Value>\n"
       "<Unit>PerCent</Unit>\n</Result>\n</Prtg>\n",
       "companion"},
      {"<Prtg>\n\n<Text>HttpOrb0102</Text>\n\n<Result><Channel>A & B"
       "</Channel>\n<Value>1</Value>\n<CustomUnit>%</CustomUnit></Result>\n"
       "\n</Prtg>\n",
       "companion"},
      {"<Prtg>\n<Text>Error no profile</Text>\n</Prtg>\n", "companion"},
      {"", "companion"},
      {"sh: 1: sensor: not found\n", "companion"},
      {"<Prtg>\n<Result>\n<Channel>A</Channel>\n<Value>1</Value>\n</Result>\n"
       "</Prtg>\n",
       "PRTG XML"},
      {"<Prtg>\n<Result><Channel>A</Channel><Value>1</Value>"
       "<Unit>Temperature</Unit></Result>\n</Prtg>\n",
       "PRTG XML"},
      {"<Prtg>\n<Result><Channel>A</Channel><Value>1</Value></Result>\n"
       "<Text>OK</Text>\n</Prtg>\n",
       "PRTG XML"},
      {"<Prtg>\n<Error>1</Error>\n<Text>Error x (y)</Text>\n</Prtg>\n",
       "PRTG XML"},
      {"<Prtg>\n<Result>\n<Channel>A & B</Channel>\n<Value>1</Value>\n"
       "</Result>\n</Prtg>\n",
       "companion"},
      {"<prtg><result><channel>A</channel><value>1</value></result></prtg>",
       "PRTG XML"},
      {"  {\"prtg\": {}}", "PRTG JSON"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ResultFormatFor(SplitLines(c.text)).name(), c.format) << c.text;
  }
  // Every companion output of the reader's own tests, broken ones too.
  for (const auto& entry : std::filesystem::directory_iterator(
           std::filesystem::path(VIGIL_FIXTURE_DIR) / "results")) {
    const auto lines = ReadResultLines(entry.path());
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(ResultFormatFor(*lines).name(), "companion") << entry.path();
  }
}

}  // namespace
}  // namespace vigil
