// The parts of vigil start, stop, status and restart that decide without a
// process: the words, the records of an orbs file, how an ended orb ended
// and the value a crashed one is restarted with.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "monitor/item_table.h"
#include "prtg/result_writer.h"
#include "store/value_parser.h"
#include "support/record_builder.h"
#include "vigil/wall_carry_over.h"
#include "vigil/wall_options.h"
#include "vigil/wall_orbs.h"
#include "vigil/wall_survey.h"

namespace vigil::cli {
namespace {

using testing::RecordBuilder;

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
    const WallOptionsParse parse = ParseWallOptions(c.command, c.words);
    if (c.error.empty()) {
      EXPECT_TRUE(parse.options) << c.command << ": " << parse.error;
    } else {
      EXPECT_FALSE(parse.options) << c.command << " " << c.error;
      EXPECT_NE(parse.error.find(c.error), std::string::npos) << parse.error;
    }
  }
  const auto options =
      ParseWallOptions("restart", {"0203", "0203", "--mode=AuxOrb", "0101",
                                   "--mode", "AuxOrb", "--every=7", "--dir",
                                   "~/wall", "--companion", "~x"})
          .options;
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

TEST(WallSurveyTest, AnOrbEndedNormallyLeftNoFilesAndLoggedStop) {
  const std::vector<EndCase> cases = {
      {{false, false, false, false}, ProcessState::kStopped},
      {{true, false, false, true}, ProcessState::kEnded},
      {{true, false, false, false}, ProcessState::kCrashed},
      {{true, true, false, true}, ProcessState::kCrashed},
      {{false, true, false, false}, ProcessState::kCrashed},
      {{false, false, true, false}, ProcessState::kCrashed},
  };
  for (const EndCase& c : cases) {
    const EndEvidence& e = c.evidence;
    EXPECT_EQ(ClassifyEnd(e), c.expected)
        << e.pid_file << e.profile_left << e.work_file_left
        << e.stop_logged_since_start;
  }
}

TEST(WallSurveyTest, TheLastEventAndWhetherItIsAStopSinceTheStart) {
  const std::vector<std::string> log = {
      "31.12.25 23:59:58 Warn 0203 DIALOG;ID=42;Dialog.Prf;Warning...",
      "31.12.25 23:59:59 Fail 0204 DIALOG;ID=;Dialog.Prf;Sensor failed",
      "01.01.26 00:00:01 Stop 0203 DIALOG;ID=42;Dialog.Prf;",
      "01.01.26 00:00:02 Stop ;ID=;;",
      "01.01.26 00:00:03 Fail 02030 x",
  };
  EXPECT_EQ(LastEventOf(log, "0203"), log[2]);
  EXPECT_EQ(LastEventOf(log, "0204"), log[1]);
  EXPECT_EQ(LastEventOf(log, "0205"), "");

  std::tm local{};
  local.tm_year = 126;  // 01.01.26 00:00:01, local time
  local.tm_mday = 1;
  local.tm_sec = 1;
  local.tm_isdst = -1;
  const std::time_t start = std::mktime(&local);
  struct SinceCase {
    std::string event;
    std::time_t start;
    bool expected;
  };
  const std::vector<SinceCase> cases = {
      {log[2], start, true},          // the same second
      {log[2], start - 3, true},      // across the new year
      {log[2], start + 1, false},     // from before this start
      {log[0], start - 3600, false},  // no Stop
      {"xx.xx.xx 00:00:01 Stop 0203 ", start, false},
      {"", start, false},
  };
  for (const SinceCase& c : cases) {
    EXPECT_EQ(StopLoggedSince(c.event, c.start), c.expected)
        << c.event << " " << c.start - start;
  }
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
  ItemRow http_row{"", "Ping", "12.5", "msec", ".", 0};

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
