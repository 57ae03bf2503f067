// The parts of vigil start, stop, status and restart that decide from the
// files and /proc: the words, the records of an orbs file, how an orb
// stands or ended, whom it waits for, the value a crashed one is restarted
// with; and status and start on a wall of stand-in processes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "monitor/item_table.h"
#include "prtg/result_writer.h"
#include "store/event_log.h"
#include "store/lock_holder.h"
#include "store/text.h"
#include "store/value_parser.h"
#include "support/child_process.h"
#include "support/record_builder.h"
#include "support/temp_dir.h"
#include "tools/stand_in_orb.h"
#include "vigil/commands.h"
#include "vigil/launcher_process.h"
#include "vigil/wall_carry_over.h"
#include "vigil/wall_events.h"
#include "vigil/wall_lock_wait.h"
#include "vigil/wall_options.h"
#include "vigil/wall_orbs.h"
#include "vigil/wall_survey.h"

namespace vigil::cli {
namespace {

using namespace std::chrono_literals;
using testing::ChildProcess;
using testing::RecordBuilder;
using testing::TempDir;
using testing::WaitUntil;

size_t CountOf(const std::string& text, const std::string& piece) {
  size_t count = 0;
  for (size_t at = text.find(piece); at != std::string::npos;
       at = text.find(piece, at + 1)) {
    ++count;
  }
  return count;
}

struct OptionsCase {
  std::string command;
  Words words;
  std::string error;  // a piece of it; empty when the words are good
};

TEST(WallOptionsTest, EachCommandTakesItsOwnOptionsOnly) {
  const std::vector<OptionsCase> cases = {
      {"start", {"0203", "--dir=/w", "--bin", "/b", "--companion", "/c"}, ""},
      {"restart", {"--watch", "--every", "2", "--mode", "HttpOrb"}, ""},
      {"stop", {"--wait=3"}, ""},
      {"start", {"--force"}, ""},
      {"stop", {"--force"}, "stop takes no option --force"},
      {"start", {"--force=yes"}, "--force takes no value"},
      {"status", {"--watch"}, "status takes no option --watch"},
      {"stop", {"--bin", "/b"}, "stop takes no option --bin"},
      {"start", {"--wait", "3"}, "start takes no option --wait"},
      {"stop", {"--wait", "0"}, "--wait takes a number of seconds"},
      {"stop", {"--wait"}, "--wait takes a value"},
      {"start", {"--dir="}, "--dir takes a value"},
      {"restart", {"--watch=yes"}, "--watch takes no value"},
      {"start", {"--mode", "Orb"}, "--mode takes RfcOrb, HttpOrb or AuxOrb"},
      {"start", {"203"}, "\"203\" is no orb number"},
      {"start", {"02a3"}, "\"02a3\" is no orb number"},
  };
  for (const OptionsCase& c : cases) {
    const Result<WallOptions> parse = ParseWallOptions(c.command, c.words);
    if (c.error.empty()) {
      EXPECT_TRUE(parse) << c.command << ": " << parse.error();
    } else {
      EXPECT_FALSE(parse) << c.command << " " << c.error;
      EXPECT_NE(parse.error().find(c.error), std::string::npos)
          << parse.error();
    }
  }
  const auto options = ParseWallOptions(
      "restart", {"0203", "0203", "--mode=AuxOrb", "0101", "--mode", "AuxOrb",
                  "--every=7", "--dir", "~/wall", "--companion", "~x"});
  ASSERT_TRUE(options);
  EXPECT_EQ(options->numbers, (std::vector<std::string>{"0203", "0101"}));
  EXPECT_EQ(options->modes, (std::vector<std::string>{"AuxOrb"}));
  EXPECT_EQ(options->every.count(), 7);
  if (const char* home = std::getenv("HOME")) {
    EXPECT_EQ(options->dir, std::filesystem::path(home) / "wall");
  }
  EXPECT_EQ(options->companion_dir, "~x");
}

TEST(WallOrbsTest, RecordNumbersSkipTheHeaderSatellitesAndRepeats) {
  const std::string trace_latin1 = std::string("0102 ") + '\xA7' + " . .";
  const std::vector<std::string> lines = {
      "0806 AuxOrbs...   .",  // the header: its key is the grid
      "0102 Dialog     00 1  1",
      "0102 # Load;>;1;Warning;",
      trace_latin1,
      "0102 \xC2\xA7 . . X E",
      "0305 Second     00 1  1",
      "0102 Dialog     30 1  1",  // a later record of the same orb
      "",
      "12",
      "ab12 Letters    00 1  1",
      "0000 * Chosen;Items",  // satellites alone make no orb
  };
  EXPECT_EQ(RecordNumbers(lines, "AuxOrb"),
            (std::vector<std::string>{"0102", "0305"}));
}

struct EndCase {
  EndEvidence evidence;
  ProcessState expected;
};

TEST(WallSurveyTest, AnOrbEndedNormallyLeftNoFilesAndLoggedStopOrFail) {
  const std::vector<EndCase> cases = {
      {{false, false, false, false, false}, ProcessState::kStopped},
      {{true, false, false, true, false}, ProcessState::kEnded},
      {{true, false, false, false, true}, ProcessState::kEnded},  // start-up
      {{true, false, false, false, false}, ProcessState::kCrashed},
      {{true, true, false, true, false}, ProcessState::kCrashed},
      {{true, true, false, false, true}, ProcessState::kCrashed},
      {{false, true, false, false, false}, ProcessState::kCrashed},
      {{false, false, true, false, false}, ProcessState::kCrashed},
  };
  for (const EndCase& c : cases) {
    const EndEvidence& e = c.evidence;
    EXPECT_EQ(ClassifyEnd(e), c.expected)
        << e.pid_file << e.profile_left << e.work_file_left
        << e.stop_logged_since_start << e.fail_logged_since_start;
  }
}

TEST(WallEventsTest, OnlyTheOrbsOwnLinesSinceItsStartCount) {
  const std::vector<std::string> log = {
      "31.12.25 23:59:58 Warn 0203 DIALOG;ID=42;Dialog.Prf;Warning...",
      "31.12.25 23:59:59 Fail 0204 DIALOG;ID=;Dialog.Prf;Sensor failed",
      "01.01.26 00:00:01 Stop 0203 DIALOG;ID=42;Dialog.Prf;",
      "01.01.26 00:00:02 Fail ;ID=;;\"AuxOrbs.so\" is missing !",
      "01.01.26 00:00:03 Fail 02030 x",
      "01.01.26 00:00:04 Fail 0204 DIALOG;ID=;Dialog.Prf;Delay; invalid",
  };
  std::tm local{};
  local.tm_year = 126;  // 01.01.26 00:00:01, local time
  local.tm_mday = 1;
  local.tm_sec = 1;
  local.tm_isdst = -1;
  const std::time_t start = std::mktime(&local);
  struct LogCase {
    std::string number;
    std::optional<std::time_t> since;
    std::string last_event;
    bool stopped;
    std::string own_failure;
    std::string unnamed_failure;
  };
  const std::vector<LogCase> cases = {
      {"0203", std::nullopt, log[2], true, "", log[3]},
      {"0203", start - 3, log[2], true, "", log[3]},  // across the new year
      // The start's own second is an earlier run's.
      {"0203", start, "", false, "", log[3]},
      {"0204", start - 2, log[5], false, log[5], log[3]},
      {"0204", start + 1, log[5], false, log[5], ""},
      {"0205", std::nullopt, "", false, "", log[3]},
  };
  for (const LogCase& c : cases) {
    const OrbLog got = ReadOrbLog(log, c.number, c.since);
    const std::string name =
        c.number + " since " +
        (c.since ? std::to_string(*c.since - start) : std::string("ever"));
    EXPECT_EQ(got.last_event, c.last_event) << name;
    EXPECT_EQ(got.stopped, c.stopped) << name;
    EXPECT_EQ(got.own_failure, c.own_failure) << name;
    EXPECT_EQ(got.unnamed_failure, c.unnamed_failure) << name;
  }
  // The message follows lock name, target and source, and keeps its own
  // separators.
  EXPECT_EQ(MessageOf(log[5]), "Delay; invalid");
  EXPECT_EQ(MessageOf(log[3]), "\"AuxOrbs.so\" is missing !");
  EXPECT_EQ(MessageOf("xx.xx.xx 00:00:01 Fail 0203 a;b;c;d"), "");
}

TEST(LauncherProcessTest, TheStartTimeIsReadAfterTheCommandName) {
  const std::string tail =
      " 1 1 1 0 -1 4194560 100 0 0 0 3 1 0 0 20 0 1 0 123456 999 ";
  struct StatCase {
    std::string stat;
    std::optional<long long> ticks;
  };
  const std::vector<StatCase> cases = {
      {"4711 (AuxOrb) S" + tail, 123456},
      {"4711 (a b) (c) S" + tail, 123456},
      {"4711 (AuxOrb) Z" + tail, std::nullopt},
      {"4711 (AuxOrb) S 1 1", std::nullopt},
      {"", std::nullopt},
  };
  for (const StatCase& c : cases) {
    EXPECT_EQ(StartTicksOfStat(c.stat), c.ticks) << c.stat;
  }
  EXPECT_TRUE(ProcessAge(getpid()));
}

void MakeOlder(const std::filesystem::path& file, std::chrono::seconds by) {
  std::filesystem::last_write_time(file,
                                   std::filesystem::last_write_time(file) - by);
}

std::string LogLine(const std::string& number, const std::string& code,
                    const std::string& message, std::time_t when) {
  RecordBuilder record;
  record.number = number;
  const EventLogContext context{
      "AuxOrb", ConfigRecord(number.empty() ? "" : record.Text()), "DIALOG"};
  return FormatLogLine(context, code, message, WallClock::from_time_t(when));
}

RecordBuilder OrbNumbered(const std::string& number) {
  RecordBuilder record;
  record.number = number;
  record.tail = "Global;sensor;;Title";
  return record;
}

TEST(WallStatusTest, RowsByNumberTellOnlyWhatEachOrbSaidSinceItsStart) {
  TempDir wall;
  const std::time_t now = std::time(nullptr);
  wall.WriteLines("AuxOrbs.Prf",
                  {"0806 AuxOrbs...   .", OrbNumbered("0105").Text(),
                   OrbNumbered("0104").Text(), OrbNumbered("0103").Text(),
                   OrbNumbered("0102").Text(), OrbNumbered("0101").Text()});
  wall.WriteLines("HttpOrbs.Prf", {OrbNumbered("0101").Text()});
  const auto fresh = StandInOrb(wall, "0103");
  const auto cycled = StandInOrb(wall, "0104");
  const auto waiting = StandInOrb(wall, "0105");
  // 0101 failed its start-up before it read its record; 0102 was killed.
  for (const std::string stem : {"AuxOrb0101", "AuxOrb0102"}) {
    wall.Write(".vigil/" + stem + ".pid", "999999999\n");
    MakeOlder(wall / (".vigil/" + stem + ".pid"), 60s);
  }
  wall.Write("AuxOrb0102.Prf", "");
  // Markers of earlier runs.
  for (const std::string stem : {"AuxOrb0102", "AuxOrb0103", "AuxOrb0104"}) {
    wall.Write(stem + ".Grn", "");
    MakeOlder(wall / (stem + ".Grn"), 3600s);
  }
  wall.WriteLines("AuxOrbs.Log",
                  {LogLine("0103", "Stop", "", now - 3600),
                   LogLine("", "Fail", "\"AuxOrbs.so\" is missing !", now - 50),
                   LogLine("0104", "Warn", "Warning...", now + 2)});
  wall.Write("AuxOrb0105.Wat", "DIALOG");
  wall.Write("DIALOG.Lck", LockHolderText({"AuxOrb0104", cycled->pid()}));

  std::ostringstream out, err;
  EXPECT_EQ(RunWall("status", {"--dir", wall.path().string()}, out, err), 3)
      << err.str();
  struct Row {
    std::string stem;
    std::string process;
    std::string state;
    std::string event;  // the start of the LAST EVENT column
  };
  const std::vector<Row> rows = {
      {"AuxOrb0101", "ended", "-", LogLine("", "Fail", "", now - 50)},
      {"HttpOrb0101", "stopped", "-", "-"},
      {"AuxOrb0102", "crashed", "-", "-"},
      {"AuxOrb0103", "running", "starting", "-"},
      {"AuxOrb0104", "running", "green", LogLine("0104", "Warn", "", now + 2)},
      {"AuxOrb0105", "running", "starting",
       "waiting for lock DIALOG (held by AuxOrb0104 for "},
  };
  const std::vector<std::string> lines = SplitLines(out.str());
  ASSERT_EQ(lines.size(), rows.size() + 1) << out.str();
  for (size_t i = 0; i < rows.size(); ++i) {
    const Row& row = rows[i];
    const std::string& line = lines[i + 1];
    EXPECT_EQ(Trim(Mid(line, 1, 12)), row.stem) << line;
    EXPECT_EQ(Trim(Mid(line, 32, 9)), row.process) << line;
    EXPECT_EQ(Trim(Mid(line, 41, 10)), row.state) << line;
    EXPECT_TRUE(Mid(line, 51, 9999).starts_with(row.event)) << line;
  }
  std::ostringstream running;
  EXPECT_EQ(
      RunWall("status", {"0104", "--dir", wall.path().string()}, running, err),
      0)
      << running.str();
}

// Lines go only of orbs that do not run, or with --stop once they ended;
// every other byte stays.
TEST(WallRemoveTest, ARunningOrbGoesOnlyWithStop) {
  TempDir wall;
  const std::string header = "0806 AuxOrbs...   .";
  const std::string rule = "0101 # r;>;1;Warning;";
  wall.WriteLines("AuxOrbs.Prf",
                  {header, OrbNumbered("0101").Text(), rule,
                   OrbNumbered("0102").Text(), OrbNumbered("0103").Text()});
  const auto running = StandInOrb(wall, "0102");
  const std::string dir = wall.path().string();
  std::ostringstream out, err;
  EXPECT_EQ(RunWall("remove", {"0101", "0102", "--dir", dir}, out, err), 1);
  EXPECT_NE(err.str().find("AuxOrb0102 runs; its lines stay"),
            std::string::npos)
      << err.str();
  EXPECT_EQ(wall.Read("AuxOrbs.Prf"), header + "\r\n" +
                                          OrbNumbered("0102").Text() + "\r\n" +
                                          OrbNumbered("0103").Text() + "\r\n");
  EXPECT_EQ(RunWall("remove", {"0102", "--stop", "--wait", "1", "--dir", dir},
                    out, err),
            0)
      << err.str();
  EXPECT_EQ(wall.Read("AuxOrbs.Prf"),
            header + "\r\n" + OrbNumbered("0103").Text() + "\r\n");
  EXPECT_EQ(RunWall("remove", {"0104", "--dir", dir}, out, err), 2);
}

TEST(WallLockWaitTest, NamesTheHolderAndHowLongItsSensorHasRun) {
  // A holder whose child stands for its sensor, and a pid nobody has now.
  ChildProcess holder({"/bin/sh", "-c", "sleep 300 & wait"},
                      std::filesystem::path());
  ASSERT_TRUE(
      WaitUntil([&] { return !ChildProcesses(holder.pid()).empty(); }, 5s));
  ChildProcess ended({"/bin/true"}, std::filesystem::path());
  ASSERT_TRUE(ended.WaitFor(5s));
  const std::string held = LockHolderText({"AuxOrb0203", holder.pid()});
  struct WaitCase {
    std::string name;
    std::optional<std::string> marker;
    std::optional<std::string> lock;
    std::chrono::seconds lock_age;
    std::string expected;  // its start; empty: no wait
  };
  const std::vector<WaitCase> cases = {
      {"sensor running", "DIALOG\r\n", held, 0s,
       "waiting for lock DIALOG (held by AuxOrb0203, its sensor running for "},
      {"holder ended", "DIALOG", LockHolderText({"AuxOrb0203", ended.pid()}),
       0s, "waiting for lock DIALOG (held by AuxOrb0203, an orb that ended)"},
      {"its pid is a newer process's", "DIALOG", held, 3600s,
       "waiting for lock DIALOG (held by AuxOrb0203, an orb that ended)"},
      {"older orb", "DIALOG", "", 60s,
       "waiting for lock DIALOG (held for 60 s"},
      {"marker left, lock free", "DIALOG", std::nullopt, 0s, ""},
      {"marker left, its own lock", "DIALOG",
       LockHolderText({"AuxOrb0102", holder.pid()}), 0s, ""},
      {"no marker", std::nullopt, held, 0s, ""},
  };
  for (const WaitCase& c : cases) {
    TempDir dir;
    if (c.marker) dir.Write("AuxOrb0102.Wat", *c.marker);
    if (c.lock) {
      dir.Write("DIALOG.Lck", *c.lock);
      MakeOlder(dir / "DIALOG.Lck", c.lock_age);
    }
    const std::string text = LockWaitText(dir.path(), "AuxOrb0102");
    if (c.expected.empty()) {
      EXPECT_EQ(text, "") << c.name;
    } else {
      EXPECT_TRUE(text.starts_with(c.expected)) << c.name << ": " << text;
    }
  }
}

TEST(WallStartTest, AnOrbWhoseLinesHaveProblemsStartsOnlyWithForce) {
  TempDir wall;
  RecordBuilder typo = OrbNumbered("0000");
  typo.delay = "   1O";
  RecordBuilder sound = OrbNumbered("0001");
  sound.delay = "   10";
  wall.WriteLines("AuxOrbs.Prf",
                  {"0806 AuxOrbs...   .", typo.Text(), sound.Text()});
  wall.Write("sensor", "#!/bin/sh\n");
  std::filesystem::permissions(wall / "sensor",
                               std::filesystem::perms::owner_all);
  const std::filesystem::path dir =
      std::filesystem::weakly_canonical(wall.path());
  // Without orb executables every launch fails, and says so.
  const Words words = {"--dir", dir.string(), "--bin", (dir / "none").string()};
  const std::string cannot_run = "cannot run " + (dir / "none/AuxOrb").string();

  std::ostringstream out, err;
  EXPECT_EQ(RunWall("start", words, out, err), 1);
  EXPECT_NE(err.str().find("vigil: AuxOrb0000 not started: 1 problem vigil "
                           "check finds (--force starts it anyway):\n  " +
                           (dir / "AuxOrbs.Prf").string() +
                           ":2:29: delay \"   1O\" is not a number"),
            std::string::npos)
      << err.str();
  EXPECT_EQ(err.str().find("AuxOrb0001 not started"), std::string::npos);
  EXPECT_EQ(CountOf(err.str(), cannot_run), 1) << err.str();

  Words forced = words;
  forced.push_back("--force");
  std::ostringstream forced_out, forced_err;
  EXPECT_EQ(RunWall("start", forced, forced_out, forced_err), 1);
  EXPECT_NE(forced_err.str().find("AuxOrb0000 starts despite 1 problem"),
            std::string::npos)
      << forced_err.str();
  EXPECT_EQ(CountOf(forced_err.str(), cannot_run), 2) << forced_err.str();
}

std::vector<std::string> Result(const std::vector<std::string>& rows) {
  std::vector<std::string> lines = {"<Prtg>"};
  for (const std::string& row : rows) lines.push_back(row);
  lines.push_back("</Prtg>");
  return lines;
}

std::string Row(const std::string& channel, const std::string& value) {
  return "<Result><Channel>" + channel + "</Channel><Value>" + value +
         "</Value></Result>";
}

struct CarryCase {
  std::string name;
  std::string mode = "AuxOrb";
  RecordBuilder record;
  std::optional<std::vector<std::string>> work_file;
  std::optional<double> expected;
  std::string reason;  // a piece of it when there is no value
};

TEST(WallCarryOverTest, TheKeptItemsValueAsTheRestartedOrbWillReadIt) {
  RecordBuilder keep;
  keep.keep_data = '!';
  RecordBuilder second = keep;
  second.chart_bars = "01xxxxxx";
  RecordBuilder sorted = second;
  sorted.sorting = '3';  // by Data: row 1 becomes the larger value
  RecordBuilder unsorted_face = sorted;
  unsorted_face.face_mode = '1';
  const auto two_rows = Result({Row("A", "30"), Row("B", "7")});
  ItemRow http_row;
  http_row.item = "Ping";
  http_row.data = "12.5";
  http_row.unit = "msec";
  http_row.color = ".";

  const std::vector<CarryCase> cases = {
      {"first row", "AuxOrb", keep, two_rows, 30, ""},
      {"second row", "AuxOrb", second, two_rows, 7, ""},
      {"sorted", "AuxOrb", sorted, two_rows, 30, ""},
      {"unsorted face", "AuxOrb", unsorted_face, two_rows, 7, ""},
      {"RfcOrb drops dots", "RfcOrb", keep, Result({Row("A", "1.234.567")}),
       1234567, ""},
      {"HttpOrb as written", "HttpOrb", keep,
       ResultLines("0203", {http_row}, kNumberFormatE), 12.5, ""},
      {"keep-data off", "AuxOrb", RecordBuilder{}, two_rows, std::nullopt,
       "keep-data is off"},
      {"no work file", "AuxOrb", keep, std::nullopt, std::nullopt,
       "no work file"},
      {"cut short", "AuxOrb", keep,
       std::vector<std::string>{"<Prtg>", Row("A", "30")}, std::nullopt,
       "no complete result"},
      {"sensor failed", "AuxOrb", keep,
       Result({Row("A", "30"), "<Text>Sorry, no connection</Text>"}),
       std::nullopt, "no complete result"},
      {"no number", "AuxOrb", keep, Result({Row("A", "n/a")}), std::nullopt,
       "\"n/a\" is no number"},
  };
  for (const CarryCase& c : cases) {
    const CarryOver carry =
        RecoverCarryOver(c.work_file, c.mode, ConfigRecord(c.record.Text()));
    EXPECT_EQ(carry.value, c.expected) << c.name << ": " << carry.reason;
    if (!c.expected) {
      EXPECT_NE(carry.reason.find(c.reason), std::string::npos)
          << c.name << ": " << carry.reason;
    }
  }
}

TEST(WallCarryOverTest, TheOrbReadsTheWrittenValueBackExactly) {
  for (const double value :
       {0.0, 1.0, -0.5, 1234567.25, 0.1, 1e20, -3.3e-7, 123456789012.0}) {
    const std::string text = CarryOverText(value);
    EXPECT_EQ(ParseValue(text, kNumberFormatE), value) << text;
    EXPECT_NE(text, "/Smart");
  }
}

}  // namespace
}  // namespace vigil::cli
