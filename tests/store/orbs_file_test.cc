#include "store/orbs_file.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

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

TEST(HeaderScanTest, TheGridsMonitorFromColumn31) {
  const std::string head =
      "0806 AuxOrbs...   ." + std::string(11, ' ');  // to column 30
  const std::pair<std::string, std::string> cases[] = {
      {"", "the primary screen"},
      {"   ", "the primary screen"},
      {"2", "monitor 2"},
      {"  12 ", "monitor 12"},
      {"HDMI-1", "monitor \"HDMI-1\""},
      {"*", "the whole desktop"},
      // Only 20 columns belong to it.
      {"DP-1                xyz", "monitor \"DP-1\""},
      {"0", "error"},
      {"HDMI 1", "error"},
  };
  for (const auto& [field, shown] : cases) {
    const HeaderScan scan = ScanHeader({head + field}, "AuxOrb");
    EXPECT_EQ(scan.error.empty()
                  ? DescribeGridMonitor(scan.settings.grid_monitor)
                  : "error",
              shown)
        << field;
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
  EXPECT_EQ(orb.record->display_name(), "New");
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
  EXPECT_TRUE(ConfigRecord(record.Text()).global_source());
  EXPECT_EQ(ConfigRecord(record.Text()).tail().title, "My Title");
  EXPECT_EQ(ConfigRecord(record.Text()).tail().source, "Global");

  record.lock_name = "<Profile>";
  record.tail = "srv01.corp;p;sensor.htm?id=2041;T";
  EXPECT_EQ(ConfigRecord(record.Text()).LockName("HttpOrb"), "srv01");
  EXPECT_EQ(ConfigRecord(record.Text()).LockName("RfcOrb"), "srv01.corp");
  EXPECT_EQ(ConfigRecord(record.Text()).LogTarget("HttpOrb"), "ID=2041");
  EXPECT_EQ(ConfigRecord(record.Text()).LogTarget("RfcOrb"), "p");
  record.lock_name = "RfcOrbs";
  EXPECT_EQ(ConfigRecord(record.Text()).LockName("AuxOrb"), "srv01.corp");
  record.lock_name = " MINE ";
  EXPECT_EQ(ConfigRecord(record.Text()).LockName("AuxOrb"), "MINE");
  record.tail = "s;p;abcdef;T";
  EXPECT_EQ(ConfigRecord(record.Text()).LogTarget("AuxOrb"), "ID=cdef");
}

// Every setter replaces exactly its own columns and keeps the length.
TEST(ConfigRecordTest, SettersWriteOnlyTheirColumns) {
  struct Case {
    const char* name;
    std::function<void(ConfigRecord&)> set;
    int from;
    std::string written;
  };
  const std::vector<Case> cases = {
      {"number", [](ConfigRecord& r) { r.set_number("0305"); }, 1, "0305"},
      {"face", [](ConfigRecord& r) { r.set_face_mode('2'); }, 17, "2"},
      {"chart", [](ConfigRecord& r) { r.set_chart_type(5); }, 18, "5"},
      {"grid", [](ConfigRecord& r) { r.set_grid_size_text("10 2"); }, 19,
       "10 2 "},
      {"bars", [](ConfigRecord& r) { r.set_bar_limit(7); }, 26, "07"},
      {"delay", [](ConfigRecord& r) { r.set_delay_time(120); }, 29, "  120"},
      {"hold", [](ConfigRecord& r) { r.set_hold(true); }, 40, "!"},
      {"bar 3", [](ConfigRecord& r) { r.set_chart_bar(2, "9"); }, 45, "9x"},
      {"sorting", [](ConfigRecord& r) { r.set_sorting('4'); }, 50, "4"},
      {"zoom", [](ConfigRecord& r) { r.set_zoom_on_alert(true); }, 51, "!"},
      {"history", [](ConfigRecord& r) { r.set_history_bars(42); }, 52, "042"},
      {"keep", [](ConfigRecord& r) { r.set_keep_data(true); }, 55, "!"},
      {"legend", [](ConfigRecord& r) { r.set_legend_shown(false); }, 67, "."},
      {"title flag", [](ConfigRecord& r) { r.set_title_shown(true); }, 68, "x"},
      {"chart mode", [](ConfigRecord& r) { r.set_history_mode(true); }, 25,
       "x"},
      {"colour", [](ConfigRecord& r) { r.set_idle_colour_code(9); }, 35, "09"},
      {"row image", [](ConfigRecord& r) { r.set_row_image_index(3); }, 38,
       "03"},
      {"id kind", [](ConfigRecord& r) { r.set_identifier_kind('4'); }, 49, "4"},
      {"name", [](ConfigRecord& r) { r.set_display_name("Disks"); }, 6,
       "Disks     "},
      {"lock", [](ConfigRecord& r) { r.set_lock_name_field("<Profile>"); }, 56,
       "<Profile> "},
  };
  RecordBuilder builder;
  builder.legend = 'x';
  builder.title_shown = '.';
  const std::string before = builder.Text();
  for (const Case& c : cases) {
    ConfigRecord record(before);
    c.set(record);
    std::string expected = before;
    expected.replace(c.from - 1, c.written.size(), c.written);
    EXPECT_EQ(record.text(), expected) << c.name;
  }
  // Digits split over two places.
  ConfigRecord record(before);
  record.set_gauge_number("37");
  record.set_image_number("12");
  EXPECT_EQ(record.gauge_number(), "37");
  EXPECT_EQ(record.image_number(), "12");
  EXPECT_EQ(record.text().size(), before.size());
  // The title is the tail after its last ";"; a short record is padded.
  record.set_title("New title");
  EXPECT_EQ(record.tail().title, "New title");
  EXPECT_EQ(record.tail().source, ConfigRecord(before).tail().source);
  ConfigRecord short_record("0102 Short");
  short_record.set_legend_shown(true);
  EXPECT_EQ(short_record.text(), "0102 Short" + std::string(56, ' ') + "x");
}

// A tail field is replaced in place; a tail short of fields gets empty
// ones before its title, so that the other fields read as before.
TEST(ConfigRecordTest, TailFieldsKeepWhatTheOrbReads) {
  struct Case {
    std::string tail;
    std::function<void(ConfigRecord&)> set;
    std::string expected;
  } cases[] = {
      {"Local.Prf;sensor;;Title", [](ConfigRecord& r) { r.set_source("A"); },
       "A;sensor;;Title"},
      {"s;p;a;extra;Title", [](ConfigRecord& r) { r.set_address("id=7"); },
       "s;p;id=7;extra;Title"},
      {"Title", [](ConfigRecord& r) { r.set_program("prog"); }, ";prog;;Title"},
      {"s;Title", [](ConfigRecord& r) { r.set_address("x"); }, "s;;x;Title"},
      {"", [](ConfigRecord& r) { r.set_source("Global"); }, "Global;;;"},
  };
  for (const Case& c : cases) {
    RecordBuilder builder;
    builder.tail = c.tail;
    ConfigRecord record(builder.Text());
    c.set(record);
    EXPECT_EQ(record.tail_text(), c.expected) << c.tail;
    EXPECT_EQ(record.text().substr(0, 77), builder.Text().substr(0, 77));
  }
  ConfigRecord short_record("0102 Short");
  short_record.set_source("Local.Prf");
  EXPECT_EQ(short_record.text(),
            "0102 Short" + std::string(67, ' ') + "Local.Prf;;;");
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
  EXPECT_EQ(ConfigRecord(record.Text()).chart_type(), 0);
  record.chart_type = '7';
  EXPECT_EQ(ConfigRecord(record.Text()).chart_type(), 7);
  record.chart_type = '8';
  EXPECT_FALSE(ConfigRecord(record.Text()).chart_type());
  record.delay = "  abc";
  EXPECT_FALSE(ConfigRecord(record.Text()).delay_time());
  record.delay = "   10";
  EXPECT_EQ(ConfigRecord(record.Text()).delay_time(), 10);
  record.delay = "    0";
  EXPECT_FALSE(ConfigRecord(record.Text()).delay_time());
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
  ASSERT_EQ(SaveOrbsFile(File(), "AuxOrb",
                         {mine.Text(), {"new;rule;"}, actions}, std::nullopt),
            SaveOutcome::kSaved);
  const std::string expected =
      header + "\r\n" + other.Text() + "\r\n0305 # Keep;>;1;Alert;\r\n" +
      "0305 \xA7 x\r\n" + "0102 * A;B;\r\n" + mine.Text() + "\r\n" +
      "0102 # new;rule;\r\n0102 $ X E m\r\n0102 % \r\n0102 ! \r\n" +
      "0102 & \r\n0102 \xA7 \r\n";
  EXPECT_EQ(dir_.Read("AuxOrbs.Prf"), expected);
}

// A removal takes the orb's lines out and leaves every other byte, a
// header that reads like the number included.
TEST_F(SaveTest, ARemovalTakesOnlyTheOrbsLinesOut) {
  RecordBuilder gone;
  gone.number = "0806";
  RecordBuilder other;
  other.number = "0305";
  const std::string kept = "0806 AuxOrbs...   .\n" + other.Text() +
                           "\n0305 \xA7 x\n0305 # Keep;>;1;Alert;\n";
  dir_.Write("AuxOrbs.Prf", "0806 AuxOrbs...   .\n0806 @ P;G;D;S\n" +
                                gone.Text() + "\n" + other.Text() +
                                "\n0806 # r;\n0305 \xA7 x\n0806 \xC2\xA7 t\n"
                                "0305 # Keep;>;1;Alert;\n");
  EXPECT_EQ(RemoveFromOrbsFile(File(), "AuxOrb", "0806"), SaveOutcome::kSaved);
  EXPECT_EQ(dir_.Read("AuxOrbs.Prf"), kept);
  EXPECT_EQ(RemoveFromOrbsFile(File(), "AuxOrb", "0806"),
            SaveOutcome::kMissing);
  EXPECT_EQ(dir_.Read("AuxOrbs.Prf"), kept);
}

TEST_F(SaveTest, MoveNoteCarriesItemAndCaptionLinesToTheNewNumber) {
  RecordBuilder record;
  dir_.WriteLines("AuxOrbs.Prf",
                  {"0806 AuxOrbs...   .", "0102 @ P;G;D;S", record.Text(),
                   "0102 * CPU;Memory;", "0102 # r;", "0203 * other;"});
  record.number = "0305";
  ASSERT_EQ(SaveOrbsFile(File(), "AuxOrb", {record.Text(), {"r;"}, {}},
                         MoveNote{"0102", "0305"}),
            SaveOutcome::kSaved);
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
  ASSERT_EQ(SaveOrbsFile(File(), "AuxOrb", {record.Text(), {}, actions},
                         std::nullopt),
            SaveOutcome::kSaved);
  const std::string saved = dir_.Read("AuxOrbs.Prf");
  EXPECT_EQ(saved.find('\r'), std::string::npos);
  EXPECT_NE(saved.find("0102 \xC2\xA7 t\n"), std::string::npos);
}

TEST_F(SaveTest, NeverDropsAHeaderLineThatLooksLikeTheOrbNumber) {
  RecordBuilder record;
  record.number = "0806";
  dir_.WriteLines("AuxOrbs.Prf", {"0806 AuxOrbs...   .", record.Text()});
  ASSERT_EQ(SaveOrbsFile(File(), "AuxOrb", {record.Text()}, std::nullopt),
            SaveOutcome::kSaved);
  EXPECT_EQ(ReadLines(File())->front(), "0806 AuxOrbs...   .");
}

TEST_F(SaveTest, FailuresLeaveTheFileAsItWas) {
  RecordBuilder record;
  EXPECT_EQ(SaveOrbsFile(File(), "AuxOrb", {record.Text()}, std::nullopt),
            SaveOutcome::kMissing);
  EXPECT_FALSE(dir_.Exists("AuxOrbs.Prf"));

  const std::string before = "0806 AuxOrbs...\r\n" + record.Text() + "\r\n";
  dir_.Write("AuxOrbs.Prf", before);
  record.face_mode = '2';
  // The save's temporary file cannot be made where a directory stands, not
  // even by root.
  std::filesystem::create_directory(
      dir_ / ("AuxOrbs.Prf.tmp" + std::to_string(getpid())));
  const SaveOutcome unwritable =
      SaveOrbsFile(File(), "AuxOrb", {record.Text()}, std::nullopt);
  EXPECT_EQ(unwritable, SaveOutcome::kUnwritable);
  EXPECT_EQ(dir_.Read("AuxOrbs.Prf"), before);
}

TEST_F(SaveTest, AMoveToANumberInUseWritesNothing) {
  RecordBuilder record;
  dir_.WriteLines("AuxOrbs.Prf", {"0806 AuxOrbs...   .", record.Text(),
                                  "0305 @ caption of another orb"});
  const std::string before = dir_.Read("AuxOrbs.Prf");
  record.number = "0305";
  EXPECT_EQ(
      SaveOrbsFile(File(), "AuxOrb", {record.Text()}, MoveNote{"0102", "0305"}),
      SaveOutcome::kTargetTaken);
  // The header's grid counts as a key too.
  record.number = "0806";
  EXPECT_EQ(
      SaveOrbsFile(File(), "AuxOrb", {record.Text()}, MoveNote{"0102", "0806"}),
      SaveOutcome::kTargetTaken);
  EXPECT_EQ(dir_.Read("AuxOrbs.Prf"), before);
}

// A move or a new size needs every cell on the grid and free of other
// orbs; a save that keeps the place is never refused for a wall that
// already overlaps elsewhere.
TEST_F(SaveTest, APlaceMustLieOnTheGridAndBeFree) {
  RecordBuilder wide;  // 0102, two cells wide
  wide.grid_size = " 1  2";
  RecordBuilder other;
  other.number = "0305";
  other.grid_size = " 2  1";  // also covers 0405
  RecordBuilder overlapping = other;
  overlapping.number = "0705";  // over 0706's cell
  overlapping.grid_size = " 1  2";
  RecordBuilder under = other;
  under.number = "0706";
  RecordBuilder neighbour = other;
  neighbour.number = "0105";
  neighbour.grid_size = " 1  1";
  const std::vector<std::string> file = {
      "0806 AuxOrbs...   .", wide.Text(),  other.Text(),
      overlapping.Text(),    under.Text(), neighbour.Text()};
  struct Case {
    const char* name;
    std::string number;
    std::string grid_size;
    bool moved;
    SaveOutcome outcome;
  } cases[] = {
      {"to a free place", "0203", " 1  2", true, SaveOutcome::kSaved},
      {"its second cell off the last column", "0205", " 1  2", true,
       SaveOutcome::kPlaceTaken},
      {"onto a cell another orb covers", "0404", " 1  2", true,
       SaveOutcome::kPlaceTaken},
      {"off the last row", "0800", " 1  1", true, SaveOutcome::kPlaceTaken},
      {"wider, up to its neighbour", "0102", " 1  3", false,
       SaveOutcome::kSaved},
      {"wider, over its neighbour's cell", "0102", " 1  4", false,
       SaveOutcome::kPlaceTaken},
      {"wider than the grid", "0102", " 1  6", false, SaveOutcome::kPlaceTaken},
      {"higher, to the last row", "0102", " 7  2", false, SaveOutcome::kSaved},
      {"higher than the grid", "0102", " 8  2", false,
       SaveOutcome::kPlaceTaken},
  };
  for (const Case& c : cases) {
    dir_.WriteLines("AuxOrbs.Prf", file);
    RecordBuilder saved = wide;
    saved.number = c.number;
    saved.grid_size = c.grid_size;
    const std::optional<MoveNote> note =
        c.moved ? std::optional(MoveNote{"0102", c.number}) : std::nullopt;
    EXPECT_EQ(SaveOrbsFile(File(), "AuxOrb", {saved.Text()}, note), c.outcome)
        << c.name;
    if (c.outcome != SaveOutcome::kSaved) {
      EXPECT_EQ(ReadLines(File()), file) << c.name;
    }
  }
  // 0705 and 0706 overlap already; a save of 0705 that keeps its place
  // goes through.
  dir_.WriteLines("AuxOrbs.Prf", file);
  EXPECT_EQ(SaveOrbsFile(File(), "AuxOrb", {overlapping.Text()}, std::nullopt),
            SaveOutcome::kSaved);
}

// Two processes move two orbs to one free cell at the same moment, many
// times over: exactly one of them gets it each time.
TEST_F(SaveTest, OfTwoOrbsRacingForOneCellOnlyOneWins) {
  constexpr int kRounds = 40;
  for (int round = 0; round < kRounds; ++round) {
    RecordBuilder first;
    RecordBuilder second;
    second.number = "0203";
    dir_.WriteLines("AuxOrbs.Prf",
                    {"0806 AuxOrbs...   .", first.Text(), second.Text()});
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    pid_t children[2];
    for (int i = 0; i < 2; ++i) {
      children[i] = fork();
      ASSERT_GE(children[i], 0);
      if (children[i] != 0) continue;
      RecordBuilder mover = i == 0 ? first : second;
      const std::string old_number = mover.number;
      mover.number = "0505";
      char go;
      close(start[1]);
      // Both wait for the same signal, so that they run together.
      if (read(start[0], &go, 1) < 0) _exit(3);
      const SaveOutcome outcome = SaveOrbsFile(File(), "AuxOrb", {mover.Text()},
                                               MoveNote{old_number, "0505"});
      _exit(outcome == SaveOutcome::kSaved         ? 0
            : outcome == SaveOutcome::kTargetTaken ? 1
                                                   : 2);
    }
    close(start[0]);
    close(start[1]);  // both read end-of-file at once
    int winners = 0;
    for (pid_t child : children) {
      int status = 0;
      ASSERT_EQ(waitpid(child, &status, 0), child);
      ASSERT_TRUE(WIFEXITED(status));
      ASSERT_LE(WEXITSTATUS(status), 1);
      if (WEXITSTATUS(status) == 0) ++winners;
    }
    ASSERT_EQ(winners, 1) << "round " << round;
    // The loser's lines stay under its old number; nothing is lost.
    const OrbLines moved = ScanOrb(*ReadLines(File()), "AuxOrb", "0505");
    ASSERT_TRUE(moved.record);
    const bool first_won =
        ScanOrb(*ReadLines(File()), "AuxOrb", "0102").record == std::nullopt;
    EXPECT_TRUE(
        ScanOrb(*ReadLines(File()), "AuxOrb", first_won ? "0203" : "0102")
            .record);
  }
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
