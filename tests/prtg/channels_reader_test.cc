#include "prtg/channels_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prtg/prtg_fixture.h"

namespace vigil {
namespace {

using testing::PrtgFixtureLines;

ItemRow Channel(std::string label, std::string item, std::string data,
                std::string unit, std::string last_value) {
  return {std::move(label), std::move(item),       std::move(data),
          std::move(unit),  std::move(last_value), kImagePrtgChannel};
}

TEST(PrtgChannelsReaderTest, ReadsAnEnglishAnswerOfTheSimulator) {
  const ChannelsAnswer answer =
      ReadChannelsAnswer(PrtgFixtureLines("channels_2041_ping_en.xml"));
  const std::vector<ItemRow> expected = {
      Channel("Channel 01:", "Ping Time", "1,136", "msec", "1,136 msec"),
      Channel("Channel 02:", "Minimum", "982", "msec", "982 msec"),
      Channel("Channel 03:", "Maximum", "1,410", "msec", "1,410 msec"),
      Channel("Channel 04:", "Packet Loss", "0", "%", "0 %"),
      // Downtime has no last value at all.
      Channel("Channel 05:", "Downtime", "0", "#", ""),
  };
  EXPECT_EQ(answer.rows, expected);
  EXPECT_EQ(answer.number_format, 'E');
}

// The same answer written with each channel on one line, or all of it on
// one line, reads as the answer with a line per element.
TEST(PrtgChannelsReaderTest, ValuesOnTheNamesLineReadAlike) {
  const std::vector<std::string> spread =
      PrtgFixtureLines("channels_2041_ping_en.xml");
  std::vector<std::string> per_channel;
  std::string whole;
  for (const std::string& line : spread) {
    const bool opens = line.find("<item>") != std::string::npos;
    if (opens || per_channel.empty()) per_channel.emplace_back();
    per_channel.back() += line;
    whole += line;
  }
  const ChannelsAnswer expected = ReadChannelsAnswer(spread);
  ASSERT_EQ(expected.rows.size(), 5u);
  for (const auto& lines : {per_channel, std::vector<std::string>{whole}}) {
    const ChannelsAnswer answer = ReadChannelsAnswer(lines);
    EXPECT_EQ(answer.rows, expected.rows) << lines.size() << " lines";
    EXPECT_EQ(answer.number_format, expected.number_format);
  }
}

TEST(PrtgChannelsReaderTest, ReadsAGermanAnswerOfTheSimulator) {
  const ChannelsAnswer answer =
      ReadChannelsAnswer(PrtgFixtureLines("channels_2042_traffic_de.xml"));
  const std::vector<ItemRow> expected = {
      Channel("Channel 01:", "Traffic In", "153.440.332", "Byte",
              "153.440.332 Byte"),
      Channel("Channel 02:", "Traffic Out", "48.211.977", "Byte",
              "48.211.977 Byte"),
      Channel("Channel 03:", "Errors In", "0", "#", "0 #"),
      Channel("Channel 04:", "Discards", "0", "#", ""),  // <lastvalue/>
  };
  EXPECT_EQ(answer.rows, expected);
  EXPECT_EQ(answer.number_format, 'D');
}

TEST(PrtgChannelsReaderTest, DecimalsWithAPointSetTheEnglishFormat) {
  const ChannelsAnswer answer =
      ReadChannelsAnswer(PrtgFixtureLines("channels_2077_cpu_en.xml"));
  ASSERT_EQ(answer.rows.size(), 3u);
  EXPECT_EQ(answer.rows[0].data, "84.50");
  EXPECT_EQ(answer.number_format, 'E');
}

struct LastValueCase {
  std::string value_line;
  std::string data;
  std::string unit;
  std::string last_value;
};

TEST(PrtgChannelsReaderTest, SplitsTheLastValueIntoNumberAndUnit) {
  const std::vector<LastValueCase> cases = {
      {"<lastvalue>12 msec</lastvalue>", "12", "msec", "12 msec"},
      {"<lastvalue>5 PerCent</lastvalue>", "5", "%", "5 PerCent"},
      {"<lastvalue>7 TimeResponse</lastvalue>", "7", "mSec", "7 TimeResponse"},
      {"<lastvalue>5</lastvalue>", "0", "5", "5"},
      {"<lastvalue></lastvalue>", "0", "#", ""},
      {"<lastvalue>3 kbit/s in</lastvalue>", "3", "kbit/s in", "3 kbit/s in"},
      {"<lastvalue> 4</lastvalue>", "0", "4", " 4"},
      {"<lastvalue>4 </lastvalue>", "4", "#", "4 "},
      {"<lastvalue>12 msec", "0", "#", ""},  // no closing tag
      {"</item>", "0", "#", ""},
  };
  for (const LastValueCase& c : cases) {
    const ChannelsAnswer answer =
        ReadChannelsAnswer({"<item>", "  <name>Ping</name>", c.value_line});
    ASSERT_EQ(answer.rows.size(), 1u) << c.value_line;
    EXPECT_EQ(answer.rows[0].data, c.data) << c.value_line;
    EXPECT_EQ(answer.rows[0].unit, c.unit) << c.value_line;
    EXPECT_EQ(answer.rows[0].color, c.last_value) << c.value_line;
  }
}

TEST(PrtgChannelsReaderTest, NumberFormatFollowsTheSeparatorPositions) {
  const std::vector<std::pair<std::string, char>> cases = {
      {"1,234", 'E'}, {"12.34", 'E'}, {"1.23", 'E'},    {"12,34", 'D'},
      {"1.234", 'D'}, {"123", 'D'},   {"1234,5", 'D'},  {".34", 'D'},
      {",234", 'D'},  {"-1.25", 'E'}, {"153.440", 'D'},
  };
  for (const auto& [number, format] : cases) {
    const ChannelsAnswer answer = ReadChannelsAnswer(
        {"<name>A</name>", "<lastvalue>" + number + " x</lastvalue>"});
    EXPECT_EQ(answer.number_format, format) << number;
  }
  // Once English, the rest of the answer does not turn it back.
  const ChannelsAnswer mixed =
      ReadChannelsAnswer({"<name>A</name>", "<lastvalue>12.34 x</lastvalue>",
                          "<name>B</name>", "<lastvalue>1.234 x</lastvalue>"});
  EXPECT_EQ(mixed.number_format, 'E');
  EXPECT_EQ(ReadChannelsAnswer({}).number_format, 'D');
}

TEST(PrtgChannelsReaderTest, WhichLinesOpenAChannel) {
  const ChannelsAnswer answer = ReadChannelsAnswer({
      "<prtg-version>1.0</prtg-version>",
      "<name>&lt;unnamed&gt;</name>",  // "<name>&" is no channel
      "<lastvalue>1 x</lastvalue>",
      "   <name>CPU LOAD</name>   ",
      "<lastvalue>2 x</lastvalue>",
      "<name_raw>disk_free(c:)</name_raw>",
      "<lastvalue>3 x</lastvalue>",
      "<name>" + std::string(100, 'n') + "</name>",  // closing tag too far
      "<lastvalue>4 x</lastvalue>",
  });
  ASSERT_EQ(answer.rows.size(), 3u);
  EXPECT_EQ(answer.rows[0].item, "Cpu Load");
  EXPECT_EQ(answer.rows[0].data, "2");
  EXPECT_EQ(answer.rows[1].item, "Disk_Free(C:)");
  EXPECT_EQ(answer.rows[1].label, "Channel 02:");
  EXPECT_EQ(answer.rows[2].item, "");
  EXPECT_EQ(answer.rows[2].data, "4");
}

TEST(PrtgChannelsReaderTest, TenChannelsGetCaptionsAndTheColourCycle) {
  std::vector<std::string> lines;
  for (int i = 1; i <= 10; ++i) {
    lines.push_back("<name>C" + std::to_string(i) + "</name>");
    lines.push_back("<lastvalue>" + std::to_string(i) + " #</lastvalue>");
  }
  ChannelsAnswer answer = ReadChannelsAnswer(lines);
  ApplyChannelColours(answer.rows);
  const std::vector<std::string> labels = {
      "Channel 01:", "Channel 02:", "Channel 03:", "Channel 04:",
      "Channel 05:", "Channel 06:", "Channel 07:", "Channel 08:",
      "Channel 09:", "Channel 10:"};
  const std::vector<std::string> colours = {
      "clLime",  "clYellow", "clAqua",   "clFuchsia", "clGreen",
      "clOlive", "clTeal",   "clMaroon", "clLime",    "clYellow"};
  ASSERT_EQ(answer.rows.size(), 10u);
  for (size_t i = 0; i < 10; ++i) {
    EXPECT_EQ(answer.rows[i].label, labels[i]);
    EXPECT_EQ(answer.rows[i].color, colours[i]);
    EXPECT_EQ(answer.rows[i].image_index, kImagePrtgChannel);
  }
}

TEST(PrtgChannelsReaderTest, ANameOnTheLastLineHasNoValue) {
  const ChannelsAnswer answer = ReadChannelsAnswer({"<name>Last</name>"});
  ASSERT_EQ(answer.rows.size(), 1u);
  EXPECT_EQ(answer.rows[0].data, "0");
  EXPECT_EQ(answer.rows[0].unit, "#");
}

TEST(PrtgChannelsReaderTest, AnErrorAnswerHasNoChannels) {
  EXPECT_TRUE(
      ReadChannelsAnswer(PrtgFixtureLines("error_401.xml")).rows.empty());
}

}  // namespace
}  // namespace vigil
