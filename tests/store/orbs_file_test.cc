#include "store/orbs_file.h"

#include <gtest/gtest.h>

#include "store/config_record.h"
#include "store/text_file.h"
#include "support/record_builder.h"
#include "support/temp_dir.h"

namespace vigil {
namespace {

using testing::RecordBuilder;
using testing::TempDir;
using Lines = std::vector<std::string>;

TEST(HeaderScanTest, GridAndSettings) {
  struct Case {
    std::string line;
    int rows, columns, frame, label_offset, caption_offset;
    bool log_all, hide_green, error;
  } cases[] = {
      // Columns 16-17 frame, 19 log mode, 23 hide, 25-26 and 28-29 offsets.
      {"0806 AuxOrbs...   .", 8, 6, 0, 0, 0, false, false, false},
      {"1012 AuxOrbs...04 X   X 03 12", 10, 12, 4, 3, 12, true, true, false},
      {"0806 AuxOrbs... 2 .   X 3x 1 ", 8, 6, 2, 0, 0, false, true, false},
      {"0006 AuxOrbs...   .", 8, 6, 0, 0, 0, false, false, true},
      {"ab06 AuxOrbs...   .", 8, 6, 0, 0, 0, false, false, true},
      {"0806 AuxOrbs...xy .", 8, 6, 0, 0, 0, false, false, true},
  };
  for (const Case& c : cases) {
    const HeaderScan scan = ScanHeader({"0102 other", c.line}, "AuxOrb");
    EXPECT_EQ(scan.settings.header_line, c.line);
    EXPECT_EQ(scan.settings.rows, c.rows) << c.line;
    EXPECT_EQ(scan.settings.columns, c.columns) << c.line;
    EXPECT_EQ(scan.settings.frame_width, c.frame) << c.line;
    EXPECT_EQ(scan.settings.label_size_offset, c.label_offset) << c.line;
    EXPECT_EQ(scan.settings.caption_size_offset, c.caption_offset) << c.line;
    EXPECT_EQ(scan.settings.log_every_event, c.log_all) << c.line;
    EXPECT_EQ(scan.settings.hide_while_green, c.hide_green) << c.line;
    EXPECT_EQ(!scan.error.empty(), c.error) << c.line;
  }
}

TEST(HeaderScanTest, WithoutHeaderTheGridIsEightBySix) {
  const HeaderScan scan = ScanHeader({"0102 x"}, "AuxOrb");
  EXPECT_TRUE(scan.settings.header_line.empty());
  const CellSize cell = CellSizeFor(scan.settings, 1920, 1080);
  EXPECT_EQ(cell.width, 320);
  EXPECT_EQ(cell.height, 135);
}

TEST(HeaderScanTest, OnlyTheModesHeaderCountsAndTheLastWins) {
  const Lines lines = {"0403 HttpOrbs..", "0304 AuxOrbs...", "0203 AuxOrbs..."};
  EXPECT_EQ(ScanHeader(lines, "AuxOrb").settings.rows, 2);
  EXPECT_EQ(ScanHeader(lines, "HttpOrb").settings.rows, 4);
  EXPECT_TRUE(ScanHeader(lines, "RfcOrb").settings.header_line.empty());
}

TEST(OrbScanTest, RecordAndEverySatelliteKind) {
  RecordBuilder first;
  first.display_name = "Old";
  RecordBuilder second;
  second.display_name = "New";
  const Lines lines = {
      "0806 AuxOrbs...   .",
      first.Text(),
      "0102 # Cpu;>;90;Alert;",
      "0103 # Other;>;1;Alert;",
      "0102 $ X E mail",
      "0102 % value mail",
      "0102 ! X E exec",
      "0102 & value exec",
      "0102 \xA7 ........X...",
      "0102 @ Probe;Group;Device;Sensor;with;semicolons",
      "0102 * CPU;Memory;",
      "0102 * Disk",
      "0102 AuxOrb... not a record",
      second.Text(),
      "0102 # Mem;<;5;Warning;",
  };
  const OrbLines orb = ScanOrb(lines, "AuxOrb", "0102");
  ASSERT_TRUE(orb.record);
  EXPECT_EQ(DisplayName(*orb.record), "New");
  EXPECT_EQ(orb.rules, (Lines{"Cpu;>;90;Alert;", "Mem;<;5;Warning;"}));
  EXPECT_EQ(orb.actions.state_mail, "X E mail");
  EXPECT_EQ(orb.actions.value_mail, "value mail");
  EXPECT_EQ(orb.actions.state_exec, "X E exec");
  EXPECT_EQ(orb.actions.value_exec, "value exec");
  EXPECT_EQ(orb.actions.trace, "........X...");
  EXPECT_EQ(orb.captions[0], "Probe");
  EXPECT_EQ(orb.captions[2], "Device");
  EXPECT_EQ(orb.captions[3], "Sensor;with;semicolons");
  EXPECT_EQ(orb.item_choices, (Lines{"CPU", "Memory", "Disk"}));
}

TEST(OrbScanTest, Utf8TraceMarkerReadsLikeLatin1) {
  const OrbLines orb =
      ScanOrb({"0102 \xC2\xA7 ........X..."}, "AuxOrb", "0102");
  EXPECT_EQ(orb.actions.trace, "........X...");
  EXPECT_FALSE(orb.record);
}

TEST(OrbScanTest, HttpOrbNeverMistakesItsModeTextForAHeaderForm) {
  // "HttpOrb... " has eleven characters and never matches columns 6-15.
  const OrbLines orb = ScanOrb({"0102 HttpOrb... x"}, "HttpOrb", "0102");
  EXPECT_TRUE(orb.record);
  EXPECT_FALSE(ScanOrb({"0102 AuxOrb... x"}, "AuxOrb", "0102").record);
}

TEST(ConfigRecordTest, TailLockNameAndTarget) {
  RecordBuilder record;
  record.tail = "Global;x;y;My Title";
  EXPECT_TRUE(IsGlobalSource(record.Text()));
  EXPECT_EQ(SplitTail(record.Text()).title, "My Title");
  EXPECT_EQ(SplitTail(record.Text()).source, "Global");

  record.lock_name = "<Profile>";
  record.tail = "srv01.corp;p;sensor.htm?id=2041;T";
  EXPECT_EQ(LockName(record.Text(), "HttpOrb"), "srv01");
  EXPECT_EQ(LockName(record.Text(), "RfcOrb"), "srv01.corp");
  EXPECT_EQ(LogTarget(record.Text(), "HttpOrb"), "ID=2041");
  EXPECT_EQ(LogTarget(record.Text(), "RfcOrb"), "p");
  record.lock_name = "RfcOrbs";
  EXPECT_EQ(LockName(record.Text(), "AuxOrb"), "srv01.corp");
  record.lock_name = " MINE ";
  EXPECT_EQ(LockName(record.Text(), "AuxOrb"), "MINE");
  record.tail = "s;p;abcdef;T";
  EXPECT_EQ(LogTarget(record.Text(), "AuxOrb"), "ID=cdef");
}

TEST(ConfigRecordTest, GridSizeTextBothWays) {
  EXPECT_EQ(FormatGridSizeText({1, 2}), " 1  2");
  EXPECT_EQ(FormatGridSizeText({10, 12}), "10 12");
  const auto size = ParseGridSizeText(" 1  2");
  ASSERT_TRUE(size);
  EXPECT_EQ(size->rows, 1);
  EXPECT_EQ(size->columns, 2);
  EXPECT_FALSE(ParseGridSizeText(" 0  2"));
  EXPECT_FALSE(ParseGridSizeText(" x  2"));
  EXPECT_FALSE(ParseGridSizeText(" 1"));
}

TEST(ConfigRecordTest, ChartTypeAndDelay) {
  RecordBuilder record;
  record.chart_type = ' ';
  EXPECT_EQ(ChartType(record.Text()), 0);
  record.chart_type = '7';
  EXPECT_EQ(ChartType(record.Text()), 7);
  record.chart_type = '8';
  EXPECT_FALSE(ChartType(record.Text()));
  record.delay = "  abc";
  EXPECT_FALSE(DelayTime(record.Text()));
  record.delay = "   10";
  EXPECT_EQ(DelayTime(record.Text()), 10);
  record.delay = "    0";
  EXPECT_FALSE(DelayTime(record.Text()));
}

class SaveTest : public ::testing::Test {
 protected:
  std::filesystem::path File() const { return dir_ / "AuxOrbs.Prf"; }
  TempDir dir_;
};

TEST_F(SaveTest, KeepsOtherLinesByteForByteAndMovesOwnLinesToTheEnd) {
  RecordBuilder mine;
  RecordBuilder other;
  other.number = "0305";
  const std::string header = "0806 AuxOrbs...   .";
  dir_.WriteLines("AuxOrbs.Prf",
                  {header, mine.Text(), "0102 # old;rule;", other.Text(),
                   "0305 # Keep;>;1;Alert;", "0102 * A;B;", "0305 \xA7 x"});
  ActionSettings actions;
  actions.state_mail = "X E m";
  mine.grid_size = " 2  3";
  ASSERT_TRUE(SaveOrbsFile(File(), "AuxOrb", mine.Text(), {"new;rule;"},
                           actions, std::nullopt));
  const std::string expected =
      header + "\r\n" + other.Text() + "\r\n0305 # Keep;>;1;Alert;\r\n" +
      "0305 \xA7 x\r\n" + "0102 * A;B;\r\n" + mine.Text() + "\r\n" +
      "0102 # new;rule;\r\n0102 $ X E m\r\n0102 % \r\n0102 ! \r\n" +
      "0102 & \r\n0102 \xA7 \r\n";
  EXPECT_EQ(dir_.Read("AuxOrbs.Prf"), expected);
}

TEST_F(SaveTest, MoveNoteCarriesItemAndCaptionLinesToTheNewNumber) {
  RecordBuilder record;
  dir_.WriteLines("AuxOrbs.Prf",
                  {"0806 AuxOrbs...   .", "0102 @ P;G;D;S", record.Text(),
                   "0102 * CPU;Memory;", "0102 # r;", "0203 * other;"});
  record.number = "0305";
  ASSERT_TRUE(SaveOrbsFile(File(), "AuxOrb", record.Text(), {"r;"}, {},
                           MoveNote{"0102", "0305"}));
  const auto lines = ReadLines(File());
  ASSERT_TRUE(lines);
  for (const std::string& line : *lines) EXPECT_NE(line.substr(0, 4), "0102");
  // Set aside from the last line to the first: "*" comes before "@".
  ASSERT_GE(lines->size(), 5u);
  EXPECT_EQ((*lines)[2], "0305 * CPU;Memory;");
  EXPECT_EQ((*lines)[3], "0305 @ P;G;D;S");
  EXPECT_EQ((*lines)[4], record.Text());
  EXPECT_EQ((*lines)[1], "0203 * other;");
}

TEST_F(SaveTest, KeepsLfEndingsAndUtf8TraceMarkers) {
  RecordBuilder record;
  dir_.Write("AuxOrbs.Prf",
             "0806 AuxOrbs...\n" + record.Text() + "\n0102 \xC2\xA7 t\n");
  ActionSettings actions;
  actions.trace = "t";
  ASSERT_TRUE(
      SaveOrbsFile(File(), "AuxOrb", record.Text(), {}, actions, std::nullopt));
  const std::string saved = dir_.Read("AuxOrbs.Prf");
  EXPECT_EQ(saved.find('\r'), std::string::npos);
  EXPECT_NE(saved.find("0102 \xC2\xA7 t\n"), std::string::npos);
}

TEST_F(SaveTest, NeverDropsAHeaderLineThatLooksLikeTheOrbNumber) {
  RecordBuilder record;
  record.number = "0806";
  dir_.WriteLines("AuxOrbs.Prf", {"0806 AuxOrbs...   .", record.Text()});
  ASSERT_TRUE(
      SaveOrbsFile(File(), "AuxOrb", record.Text(), {}, {}, std::nullopt));
  EXPECT_EQ(ReadLines(File())->front(), "0806 AuxOrbs...   .");
}

TEST_F(SaveTest, MissingFileFailsAndWritesNothing) {
  RecordBuilder record;
  EXPECT_FALSE(
      SaveOrbsFile(File(), "AuxOrb", record.Text(), {}, {}, std::nullopt));
  EXPECT_FALSE(dir_.Exists("AuxOrbs.Prf"));
}

TEST(AttachedProfileTest, DropsCommentsButKeepsDudiLines) {
  const Lines source = {"# comment",
                        "* Host/IP.........: 10.0.0.1",
                        "# Dudi: keep me",
                        "#Dudi: not quite",
                        "",
                        "* User............: me"};
  EXPECT_EQ(AttachedProfileLines(source),
            (Lines{"* Host/IP.........: 10.0.0.1", "# Dudi: keep me", "",
                   "* User............: me"}));
}

}  // namespace
}  // namespace vigil
