#include "prtg/result_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/result_reader.h"
#include "store/text.h"
#include "store/value_parser.h"
#include "support/temp_dir.h"

namespace vigil {
namespace {

ItemRow Row(std::string item, std::string data, std::string unit) {
  return {"Channel 01:",   std::move(item), std::move(data),
          std::move(unit), "clLime",        kImagePrtgChannel};
}

TEST(PrtgResultWriterTest, AnEmptyTableGivesFiveLines) {
  const std::vector<std::string> expected = {
      "<Prtg>", "", "<Text>HttpOrb0102</Text>", "", "</Prtg>"};
  EXPECT_EQ(ResultLines("0102", {}, 'E'), expected);
}

TEST(PrtgResultWriterTest, WritesFourLinesPerRowWithItemAndUnitAsTheyAre) {
  const std::vector<std::string> expected = {
      "<Prtg>",
      "",
      "<Text>HttpOrb0305</Text>",
      "",
      "<Result><Channel>Ping Time</Channel>",
      "<Value>1136</Value>",
      "<CustomUnit>msec</CustomUnit></Result>",
      "",
      "<Result><Channel>Packet &amp; Loss</Channel>",
      "<Value>0.5</Value>",
      "<CustomUnit>%</CustomUnit></Result>",
      "",
      "</Prtg>"};
  EXPECT_EQ(ResultLines("0305",
                        {Row("Ping Time", "1,136", "msec"),
                         Row("Packet &amp; Loss", "0.5", "%")},
                        'E'),
            expected);
}

struct ValueCase {
  std::string data;
  char format;
  std::string value_text;
};

TEST(PrtgResultWriterTest, ValueTextIsTheNumberTheRulesRead) {
  const std::vector<ValueCase> cases = {
      {"0.5", 'E', "0.5"},
      {"12.34", 'E', "12.34"},
      {"1,136", 'E', "1136"},
      {"-3.5", 'E', "-3.5"},
      {" 7 ", 'E', "7"},
      {"0", 'E', "0"},
      {"-0", 'E', "0"},
      {"No", 'D', "0"},
      {"1.234", 'D', "1234"},
      {"12.5", 'D', "125"},
      {"153.440.332", 'D', "153440332"},
      {"1e3", 'E', "1000"},
      // Not a number with the flag: trimmed, without its points.
      {"12,34", 'D', "12,34"},
      {" a.b ", 'E', "ab"},
      {"", 'E', ""},
  };
  for (const ValueCase& c : cases) {
    EXPECT_EQ(ResultValueText(c.data, c.format), c.value_text)
        << c.data << " " << c.format;
  }
}

// What the result reader makes of the written text is what the rules and
// the display got from the server. (The reader shows numbers above 1000
// with a "." as thousands separator, which only the "D" format reads back;
// English answers of such values come back divided by 1000, as for every
// result text, so they are not part of this round trip.)
TEST(PrtgResultWriterTest, TheResultReaderReadsTheRowsBack) {
  struct RoundTrip {
    char format;
    std::vector<ItemRow> rows;
  };
  const std::vector<RoundTrip> cases = {
      {'E',
       {Row("Total", "84.50", "%"), Row("Loss", "0.5", "%"),
        Row("Ping Time", "982", "msec"), Row("Downtime", "0", "#")}},
      {'D',
       {Row("Traffic In", "153.440.332", "Byte"),
        Row("Traffic Out", "48.211.977", "Byte"), Row("Errors", "0", "#"),
        Row("Ping", "1.136", "msec")}},
  };
  for (const RoundTrip& c : cases) {
    ItemTable items;
    StringList work;
    ReadResult(ResultLines("0102", c.rows, c.format), {0, "xxxxxxxx"}, items,
               work);
    ASSERT_EQ(items.size(), c.rows.size());
    for (size_t i = 0; i < c.rows.size(); ++i) {
      EXPECT_EQ(items[i].item, c.rows[i].item);
      EXPECT_EQ(items[i].unit, CapitalizeName(c.rows[i].unit));
      const auto written = ParseValue(c.rows[i].data, c.format);
      const auto read_back = ParseValue(items[i].data, c.format);
      ASSERT_TRUE(written && read_back) << items[i].data;
      EXPECT_DOUBLE_EQ(*read_back, *written) << c.rows[i].data;
    }
    // A text without " (" gives a text record of one blank.
    ASSERT_EQ(work.Count(), 1u);
    EXPECT_EQ(work.Get(0), " ");
  }
}

TEST(PrtgResultWriterTest, WritesTheWorkFileWholeWithCrLf) {
  testing::TempDir dir;
  dir.Write("HttpOrb0102.Wxx", "raw answer of the server");
  ASSERT_TRUE(
      WriteResult(dir / "HttpOrb0102.Wxx", "0102", {Row("A", "1", "#")}, 'E'));
  EXPECT_EQ(dir.Read("HttpOrb0102.Wxx"),
            "<Prtg>\r\n\r\n<Text>HttpOrb0102</Text>\r\n\r\n"
            "<Result><Channel>A</Channel>\r\n<Value>1</Value>\r\n"
            "<CustomUnit>#</CustomUnit></Result>\r\n\r\n</Prtg>\r\n");
}

TEST(PrtgResultWriterTest, AFailedWriteLeavesNoWorkFile) {
  testing::TempDir dir;
  EXPECT_FALSE(
      WriteResult(dir / "missing" / "HttpOrb0102.Wxx", "0102", {}, 'E'));
  EXPECT_FALSE(dir.Exists("missing/HttpOrb0102.Wxx"));
}

}  // namespace
}  // namespace vigil
