// The reader on real-looking sensor outputs, and on whatever else a work
// file may hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "monitor/result_reader.h"
#include "store/processing_states.h"
#include "store/text.h"
#include "store/text_file.h"

namespace vigil {
namespace {

constexpr int kRowImage = 7;
const ResultReaderSettings kSettings{kRowImage, "xxxxxxxx"};

std::filesystem::path Fixture(std::string_view name) {
  return std::filesystem::path(VIGIL_FIXTURE_DIR) / "results" / name;
}

std::string FixtureText(std::string_view name) {
  const auto bytes = ReadFileBytes(Fixture(name));
  EXPECT_TRUE(bytes.has_value()) << name;
  return bytes.value_or("");
}

struct Reading {
  ItemTable items;
  StringList work;
  ResultReading result;
};

Reading Read(std::string_view text,
             const ResultReaderSettings& settings = kSettings) {
  Reading reading;
  reading.result = ReadResultText(text, settings, reading.items, reading.work);
  return reading;
}

std::string WithLf(std::string text) {
  std::erase(text, '\r');
  return text;
}

std::string WithCrLf(std::string_view text) {
  std::string converted;
  for (const char c : WithLf(std::string(text))) {
    if (c == '\n') converted += '\r';
    converted += c;
  }
  return converted;
}

struct FixtureCase {
  std::string file;
  std::vector<ItemRow> rows;
  std::vector<std::string> work;
  std::string message_line;
  Rgb font_colour;
};

std::vector<FixtureCase> FixtureCases() {
  return {
      {"sap_dialog_crlf.Wxx",
       {{"01:", "RFC-Open Time", "344", "mSec", "clLime", kRowImage, 344},
        {"02:", "Dialog Response", "1.234", "mSec", "clYellow", kRowImage,
         1234},
        {"03:", "Users Logged On", "57", "Users", "clAqua", kRowImage, 57},
        {"04:", "Free Memory", "1.234.567", "Kb", "clFuchsia", kRowImage,
         1234567},
        {"05:", "CPU load", ".25", "%", "clGreen", kRowImage, 0.25}},
       {" Dialog check finished (SAP Quillon)"},
       " Dialog check finished (SAP Quillon)",
       kMaroon},
      {"local_sensor_lf.Wxx",
       {{"01:", "Load Average 1 Min", ".42", "#", "clLime", kRowImage, 0.42},
        {"02:", "Memory Used", "63", "%", "clYellow", kRowImage, 63},
        {"03:", "Fullest File System /Home", "81", "%", "clAqua", kRowImage,
         81},
        {"04:", "Ping 127.0.0.1:22", "2", "mSec", "clFuchsia", kRowImage, 2},
        {"05:", "Disk Free", "52.311", "MegaByte", "clGreen", kRowImage,
         52.311}},
       {" vigil-box: 4 cpus, Linux 6.1.0"},
       " vigil-box: 4 cpus, Linux 6.1.0",
       kBlack},
      {"job_states_crlf.Wxx",
       {{"01:", "* Zfi_Close_Month", "0", "#", "2", 69, 0},
        {"02:", "Backup Log", "1", "#", "3", 64, 1},
        {"03:", "Spool Cleanup", "12", "#", "0", 66, 12},
        {"04:", "Update Queue", "1", "State", "1", 74, 1},
        {"05:", "* Total Jobs", "418", "#", "0", 71, 418},
        {"06:", "* Print Queue", "3", "#", "1", 68, 3}},
       {" Batch job monitor"},
       " Batch job monitor",
       kMaroon},
      {"broken_records_lf.Wxx",
       {{"01:", "Joined First", "5", "#", "clLime", kRowImage, 5},
        {"02:", "Letters", "n/a", "Error", "clYellow", 22},
        {"", "", "3", "#", "clAqua", kRowImage, 3},
        {"03:", "Cut Tag", "11", "#", "clFuchsia", kRowImage, 11}},
       {" First message", " Second message"},
       " Second message",
       kMaroon},
      {"sorry_failure_crlf.Wxx",
       {},
       {" Connecting to QAS", " Sorry, no connection to system QAS"},
       " Sorry, no connection to system QAS",
       kMaroon},
      {"user_sensor_lf.Wxx",
       {{"01:", "Open Orders", "2.500", "#", "clLime", kRowImage, 2500}},
       {" User-Sensor: ORDER BACKLOG"},
       " User-Sensor: Order Backlog",
       kMaroon},
      {"http_written_crlf.Wxx",
       {{"01:", "Ping Time", "12", "Msec", "clLime", kRowImage, 12},
        {"02:", "Downtime", "0", "%", "clYellow", kRowImage, 0}},
       {" "},
       " ",
       kBlack},
      {"nine_disks_lf.Wxx",
       {{"01:", "/", "41", "%", "clLime", kRowImage, 41},
        {"02:", "/Boot", "12", "%", "clYellow", kRowImage, 12},
        {"03:", "/Home", "77", "%", "clAqua", kRowImage, 77},
        {"04:", "/Var", "35", "%", "clFuchsia", kRowImage, 35},
        {"05:", "/Srv", "8", "%", "clGreen", kRowImage, 8},
        {"06:", "/Opt", "64", "%", "clOlive", kRowImage, 64},
        {"07:", "/Data", "91", "%", "clTeal", kRowImage, 91},
        {"08:", "/Backup", "55", "%", "clMaroon", kRowImage, 55},
        {"09:", "/Scratch", "3", "%", "clLime", kRowImage, 3}},
       {" Nine file systems"},
       " Nine file systems",
       kBlack},
      {"truncated_lf.Wxx",
       {{"01:", "Spool Requests", "21", "#", "clLime", kRowImage, 21}},
       {" Truncated output"},
       " Truncated output",
       kMaroon},
  };
}

TEST(ResultReaderFixtureTest, ReadsEverySensorOutput) {
  for (const FixtureCase& c : FixtureCases()) {
    SCOPED_TRACE(c.file);
    const Reading reading = Read(FixtureText(c.file));
    EXPECT_EQ(reading.items.rows(), c.rows);
    EXPECT_EQ(reading.work.lines(), c.work);
    EXPECT_EQ(reading.result.message_line, c.message_line);
    EXPECT_EQ(reading.items.font_colour(), c.font_colour);
    if (c.rows.empty()) {
      EXPECT_EQ(reading.result.chart_unit, std::nullopt);
    } else {
      EXPECT_EQ(reading.result.chart_unit, c.rows[0].unit);
    }
  }
}

TEST(ResultReaderFixtureTest, LineEndingsDoNotMatter) {
  for (const FixtureCase& c : FixtureCases()) {
    SCOPED_TRACE(c.file);
    const std::string text = FixtureText(c.file);
    const Reading lf = Read(WithLf(text));
    const Reading crlf = Read(WithCrLf(text));
    EXPECT_EQ(lf.items.rows(), c.rows);
    EXPECT_EQ(crlf.items.rows(), c.rows);
    EXPECT_EQ(lf.work.lines(), crlf.work.lines());
    // As the cycle loads the work file: through the lines of the file.
    ItemTable items;
    StringList work;
    ReadResult(*ReadLines(Fixture(c.file)), kSettings, items, work);
    EXPECT_EQ(items.rows(), c.rows);
    EXPECT_EQ(work.lines(), c.work);
  }
}

TEST(ResultReaderFixtureTest, ProcessingStatesOfTheDialogCheck) {
  const auto lines = ReadLines(Fixture("sap_dialog_crlf.Wxx"));
  ASSERT_TRUE(lines.has_value());
  const ProcessingTable table = ReadProcessingStates(*lines);
  const ProcessingTable expected = {
      {"DIALOG  ", "Dialog response check", "Done", 42},
      {"BATCH   ", "Background jobs", "Processed", 60},
      {"GLOBAL  ", "Global settings", "", 39},
      {"PROFILE ", "Read SAP Quillon.Prf", "Queued", 9},
  };
  EXPECT_EQ(table, expected);
}

// Every prefix of a result is a result that a sensor killed half-way
// could leave: never more rows than the whole, the same complete ones.
TEST(ResultReaderFixtureTest, EveryCutOfAResultReadsSafely) {
  for (const FixtureCase& c : FixtureCases()) {
    SCOPED_TRACE(c.file);
    const std::string text = FixtureText(c.file);
    for (size_t cut = 0; cut <= text.size(); ++cut) {
      const Reading part = Read(std::string_view(text).substr(0, cut));
      ASSERT_LE(part.items.size(), c.rows.size()) << "cut at " << cut;
      for (size_t row = 0; row + 1 < part.items.size(); ++row) {
        ASSERT_EQ(part.items[row].label, c.rows[row].label) << "cut at " << cut;
        ASSERT_EQ(part.items[row].data, c.rows[row].data) << "cut at " << cut;
      }
    }
  }
}

TEST(ResultReaderFixtureTest, SurvivesMutatedResults) {
  std::mt19937 random(20240611);
  const std::string pieces[] = {
      "<Result>", "</Result>", "<Value>",   "</Value>",
      "<Text>",   "</Text>",   "<Channel>", " (",
      ") ",       "\n",        "\r\n",      "<Unit>PerCent</Unit>",
      "2: * ",    "-",         ","};
  for (const FixtureCase& c : FixtureCases()) {
    const std::string original = FixtureText(c.file);
    for (int round = 0; round < 300; ++round) {
      std::string text = original;
      const int edits = 1 + static_cast<int>(random() % 8);
      for (int edit = 0; edit < edits; ++edit) {
        const size_t at = random() % (text.size() + 1);
        switch (random() % 4) {
          case 0:
            text.insert(at, pieces[random() % std::size(pieces)]);
            break;
          case 1:
            text.erase(at, random() % 12);
            break;
          case 2:
            if (at < text.size()) text[at] = static_cast<char>(random());
            break;
          default:
            text.insert(at, text.substr(random() % (text.size() + 1), 40));
            break;
        }
      }
      const Reading reading =
          Read(text, {kRowImage, round % 2 ? "07xx03xx" : "xxxxxxxx"});
      // Whatever came, the post-pass left every row coloured.
      for (const ItemRow& row : reading.items.rows()) {
        ASSERT_FALSE(row.color.empty()) << c.file << " round " << round;
      }
    }
  }
}

TEST(ResultReaderFixtureTest, BinaryJunkReadsWithoutRows) {
  std::mt19937 random(7);
  std::string junk(1 << 20, '\0');
  for (char& c : junk) c = static_cast<char>(random());
  // No "<" and no "* " survive: nothing can form a record.
  std::replace(junk.begin(), junk.end(), '<', '?');
  const Reading reading = Read(junk);
  EXPECT_TRUE(reading.items.empty());
  EXPECT_TRUE(reading.work.empty());
  EXPECT_EQ(reading.result.chart_unit, std::nullopt);
}

TEST(ResultReaderFixtureTest, TenMegabyteLines) {
  const size_t kSize = 10 << 20;
  {  // A huge channel name.
    const std::string text = "<Result><Channel>" + std::string(kSize, 'a') +
                             "</Channel><Value>5</Value></Result>\n";
    const Reading reading = Read(text);
    ASSERT_EQ(reading.items.size(), 1u);
    EXPECT_EQ(reading.items[0].item.size(), kSize);
    EXPECT_EQ(reading.items[0].item.substr(0, 3), "Aaa");
    EXPECT_EQ(reading.items[0].data, "5");
  }
  {  // A huge value of digits: beyond any double.
    const std::string text = "<Result><Channel>Big</Channel><Value>" +
                             std::string(kSize, '7') + "</Value></Result>\n";
    const Reading reading = Read(text);
    ASSERT_EQ(reading.items.size(), 1u);
    EXPECT_EQ(reading.items[0].unit, "Error");
    EXPECT_EQ(reading.items[0].data.size(), kSize);
  }
  {  // A huge text record full of parentheses.
    std::string message;
    while (message.size() < kSize) message += " (a) ";
    const Reading reading = Read("<Text>(abc)" + message + "</Text>\n");
    ASSERT_EQ(reading.work.Count(), 1u);
    // Cut before the second " (", which follows close behind the first.
    EXPECT_EQ(reading.work.Get(0), " (a) ");
  }
  {  // One huge unfinished record made of many lines.
    std::string text;
    while (text.size() < kSize) text += "<Value>1</Value>\n";
    const Reading reading = Read(text);
    EXPECT_TRUE(reading.items.empty());
  }
  {  // Many record ends: every one completes a record.
    std::string text;
    for (int i = 0; i < 100000; ++i) {
      text += "<Result><Channel>C</Channel><Value>1</Value></Result>\n";
    }
    const Reading reading = Read(text);
    ASSERT_EQ(reading.items.size(), 100000u);
    EXPECT_EQ(reading.items[99999].label, "100000:");
  }
}

}  // namespace
}  // namespace vigil
