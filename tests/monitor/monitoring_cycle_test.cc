#include "monitor/monitoring_cycle.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "store/source_lock.h"
#include "store/text.h"
#include "store/text_file.h"
#include "support/record_builder.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"

namespace vigil {
namespace {

using namespace std::chrono_literals;
using Path = CycleReport::Path;
using testing::RecordBuilder;
using testing::RecordingView;
using testing::TempDir;

class RecordingDispatch : public ActionDispatch {
 public:
  void Trace(ActionKind kind, const ActionContext& context) override {
    kinds.push_back(kind);
  }
  std::vector<ActionKind> kinds;
};

constexpr char kGoodResult[] =
    "<Prtg>\n<Result><Channel>Cpu</Channel><Value>42</Value></Result>\n"
    "<Result><Channel>Memory</Channel><Value>7</Value></Result>\n"
    "<Text>All fine</Text>\n</Prtg>\n";

// One orb's files in a temporary working directory that is also its
// companion directory, with a sensor script that prints a given text.
class CycleTest : public ::testing::Test {
 protected:
  CycleTest() : log_(dir_ / "AuxOrbs.Log") {
    record_.number = "0102";
    record_.lock_name = "SRC";
    record_.delay = "   30";
    record_.idle_colour = "00";
    record_.tail = "Src.Prf;sensor.sh;the-address;Title";
    dir_.WriteLines("Src.Prf", {"# comment", "* Key.............: v"});
    log_.set_context({"AuxOrb", record_.Text(), "SRC", true});
  }

  void SensorPrints(const std::string& text, int exit_status = 0) {
    dir_.Write("result.txt", text);
    dir_.Write("sensor.sh",
               "#!/bin/sh\necho \"$1 $2\" > args.txt\ncat result.txt\nexit " +
                   std::to_string(exit_status) + "\n");
    std::filesystem::permissions(dir_ / "sensor.sh",
                                 std::filesystem::perms::owner_all);
  }

  // The fixture's settings as the orb's state; the cycle works on it.
  CycleReport Run(HttpAcquisition http = nullptr) {
    state_.mode_word = mode_;
    state_.companion_dir = dir_.path().string();
    state_.config = {record_.Text(), rules_, actions_};
    state_.lock_name = "SRC";
    state_.source_path = "Src.Prf";
    state_.delay_time = 30;
    CompanionFiles files(dir_.path(), mode_, "0102");
    MonitoringCycle cycle(state_, files, log_, dispatch_);
    cycle.set_face_link({nullptr, &canned_, nullptr});
    cycle.set_http_acquisition(std::move(http));
    return cycle.Run(view_);
  }

  std::string LogText() const { return dir_.Read("AuxOrbs.Log"); }

  TempDir dir_;
  std::string mode_ = "AuxOrb";
  RecordBuilder record_;
  std::vector<std::string> rules_;
  ActionSettings actions_;
  bool canned_ = false;
  EventLog log_;
  OrbState state_ = {.values = InitialOrbValues("AuxOrb")};
  ItemTable& items_ = state_.items;
  OrbValues& values_ = state_.values;
  BusyFlag& busy_flag_ = state_.busy_flag;
  CyclePhase& cycle_phase_ = state_.cycle_phase;
  bool& restart_flag_ = state_.restart_flag;
  RecordingView view_;
  RecordingDispatch dispatch_;
};

TEST_F(CycleTest, GoodCycleReadsTheSensorAndPublishesGreen) {
  SensorPrints(kGoodResult);
  const CycleReport report = Run();
  EXPECT_EQ(report.path, Path::kGood);
  EXPECT_EQ(report.rearm, 30s);
  ASSERT_EQ(items_.size(), 2u);
  EXPECT_EQ(items_[0].item, "Cpu");
  EXPECT_EQ(items_[0].data, "42");
  EXPECT_TRUE(dir_.Exists("AuxOrb0102.Grn"));
  EXPECT_FALSE(dir_.Exists("SRC.Lck"));
  EXPECT_EQ(busy_flag_, BusyFlag::kIdle);
  EXPECT_EQ(cycle_phase_, CyclePhase::kIdle);
  EXPECT_EQ(values_.state_code, state_code::kGreen);
  // The attached profile is the source without comments, handed over.
  EXPECT_EQ(dir_.Read("AuxOrb0102.Prf"), "* Key.............: v\r\n");
  EXPECT_EQ(dir_.Read("args.txt"), "AuxOrb0102.Prf the-address\n");
  EXPECT_EQ(state_.first_text_line, " All fine");
  EXPECT_EQ(view_.caption(), "");
  // Lock and unlock are logged when every event is.
  EXPECT_NE(LogText().find(" Lock 0102 SRC;"), std::string::npos);
  EXPECT_NE(LogText().find(" ULck 0102 SRC;"), std::string::npos);
}

TEST_F(CycleTest, MarkersFollowTheRulesAcrossCycles) {
  SensorPrints(kGoodResult);
  struct Step {
    std::vector<std::string> rules;
    const char* marker;
    int state;
    const char* logged;
  } steps[] = {
      {{"Cpu;>;40;Warning;"}, "AuxOrb0102.Yel", state_code::kYellow, " Warn "},
      {{"Cpu;>;40;Set Alert;"}, "AuxOrb0102.Red", state_code::kRed, " Alrt "},
      {{}, "AuxOrb0102.Grn", state_code::kGreen, " Rset "},
  };
  for (const Step& step : steps) {
    rules_ = step.rules;
    const CycleReport report = Run();
    EXPECT_EQ(report.path, Path::kGood);
    EXPECT_EQ(values_.state_code, step.state);
    EXPECT_TRUE(report.state_changed);
    for (const char* marker : {"AuxOrb0102.Grn", "AuxOrb0102.Yel",
                               "AuxOrb0102.Red", "AuxOrb0102.Flr"}) {
      EXPECT_EQ(dir_.Exists(marker), std::string(marker) == step.marker)
          << marker << " after " << step.marker;
    }
    EXPECT_NE(LogText().find(step.logged), std::string::npos) << step.logged;
  }
}

TEST_F(CycleTest, ResultsWithoutDataGiveNoDataAndKeepPolling) {
  struct Case {
    const char* name;
    std::string result;
    int exit_status;
    std::string message;
    bool logged;
  } cases[] = {
      {"no end tag",
       "<Prtg>\n<Result><Channel>A</Channel><Value>1</Value>"
       "</Result>\n",
       0, "No Data from RFC found...", true},
      {"prints nothing", "", 0, "No Data from RFC found...", true},
      {"garbage", "\x01\x02 garbage \xff\n", 3, "No Data from RFC found...",
       true},
      {"error text last",
       "<Prtg>\n<Text>Error cannot measure</Text>\n</Prtg>\n", 1,
       "Error cannot measure", true},
      {"sorry text last", "<Prtg>\n<Text>Sorry, no data</Text>\n</Prtg>\n", 0,
       "Sorry, no data", true},
      {"XML error report",
       "<prtg><error>1</error><text>Disk C: not found</text></prtg>", 2,
       "Disk C: not found", true},
      {"JSON error report",
       "{\"prtg\": {\"error\": \"1\", \"text\": \"login failed\"}}", 0,
       "login failed", true},
      {"XML cut off", "<prtg><result><channel>A</channel><value>1</value>", 0,
       "No Data from RFC found...", true},
  };
  actions_.state_mail = "X E mail";
  for (const Case& c : cases) {
    SensorPrints(c.result, c.exit_status);
    dispatch_.kinds.clear();
    const CycleReport report = Run();
    EXPECT_EQ(report.path, Path::kNoData) << c.name;
    EXPECT_EQ(report.no_data_message, c.message) << c.name;
    EXPECT_EQ(report.rearm, 30s) << c.name;
    EXPECT_EQ(values_.state_code, state_code::kNoData) << c.name;
    EXPECT_EQ(items_.colour(), kSilver) << c.name;
    EXPECT_FALSE(dir_.Exists("SRC.Lck")) << c.name;
    EXPECT_EQ(view_.caption(), "<Susp>") << c.name;
    // Every no-data cycle announces again.
    EXPECT_EQ(dispatch_.kinds, std::vector<ActionKind>{ActionKind::kStateMail})
        << c.name;
    EXPECT_EQ(LogText().find("Fail 0102 SRC;ID=e-address;Src.Prf;" +
                             c.message) != std::string::npos,
              c.logged)
        << c.name;
  }
}

// A wall left alone needs the reason in its log, but not once per cycle.
TEST_F(CycleTest, AnErrorReportIsLoggedOnceWhileItLasts) {
  const auto fail_lines = [this] {
    const std::string log = LogText();
    size_t count = 0;
    for (size_t at = log.find("Fail"); at != std::string::npos;
         at = log.find("Fail", at + 1)) {
      ++count;
    }
    return count;
  };
  SensorPrints("<prtg><error>1</error><text>Disk gone</text></prtg>");
  Run();
  Run();
  EXPECT_EQ(fail_lines(), 1u);
  SensorPrints(kGoodResult);
  Run();
  SensorPrints("<prtg><error>1</error><text>Disk gone</text></prtg>");
  Run();
  EXPECT_EQ(fail_lines(), 2u);
  EXPECT_EQ(view_.panel_messages().back(), "Disk gone");
}

TEST_F(CycleTest, SortsByTheSettingUnlessTheFaceModeIsUnsorted) {
  SensorPrints(kGoodResult);
  record_.sorting = '3';  // Value Asc: Memory 7 before Cpu 42
  Run();
  EXPECT_EQ(items_[0].item, "Memory");
  record_.face_mode = '1';
  Run();
  EXPECT_EQ(items_[0].item, "Cpu");
}

TEST_F(CycleTest, ErrorTextFollowedByAnotherTextIsNoError) {
  SensorPrints(
      "<Prtg>\n<Text>Error old</Text>\n<Text>Fine now</Text>\n"
      "<Result><Channel>A</Channel><Value>1</Value></Result>\n</Prtg>\n");
  EXPECT_EQ(Run().path, Path::kGood);
}

TEST_F(CycleTest, MissingSensorShowsTheErrorAndKeepsTheLockForTheClose) {
  record_.tail = "Src.Prf;missing.sh;a;T";
  const CycleReport report = Run();
  EXPECT_EQ(report.path, Path::kSensorMissing);
  EXPECT_FALSE(report.rearm);
  ASSERT_EQ(view_.errors().size(), 1u);
  EXPECT_EQ(view_.errors()[0], "Sensor missing.sh failed, please Check !");
  EXPECT_NE(
      LogText().find("Fail 0102 SRC;ID=e-address;Src.Prf;Sensor missing.sh "
                     "failed, please Check !"),
      std::string::npos);
  // The orb's close removes the lock because the busy flag is still 1.
  EXPECT_EQ(busy_flag_, BusyFlag::kHoldingLock);
  EXPECT_TRUE(dir_.Exists("SRC.Lck"));
}

// A hung sensor and everything it started end at the profile's time-out;
// the lock is free for the siblings and the cycle ends without data.
TEST_F(CycleTest, ASensorPastItsTimeOutEndsAsNoData) {
  dir_.WriteLines("Src.Prf", {"* Sensor-Timeout..: 1"});
  dir_.Write("sensor.sh", "#!/bin/sh\nsleep 30 &\necho $! > child.txt\nwait\n");
  std::filesystem::permissions(dir_ / "sensor.sh",
                               std::filesystem::perms::owner_all);
  const auto started = std::chrono::steady_clock::now();
  const CycleReport report = Run();
  EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
  EXPECT_EQ(report.path, Path::kNoData);
  EXPECT_EQ(report.no_data_message, "Sensor sensor.sh timed out after 1 s");
  EXPECT_EQ(report.rearm, 30s);
  EXPECT_FALSE(dir_.Exists("SRC.Lck"));
  EXPECT_EQ(busy_flag_, BusyFlag::kIdle);
  const std::string child = Trim(dir_.Read("child.txt"));
  ASSERT_FALSE(child.empty());
  // Gone, or a zombie that nobody but init will reap.
  const std::string stat =
      ReadFileBytes("/proc/" + child + "/stat").value_or("");
  EXPECT_TRUE(stat.empty() || stat.find(") Z ") != std::string::npos) << stat;
  size_t fails = 0;
  for (size_t at = LogText().find(" Fail "); at != std::string::npos;
       at = LogText().find(" Fail ", at + 1)) {
    ++fails;
  }
  EXPECT_EQ(fails, 1u);
  EXPECT_NE(LogText().find("timed out after 1 s"), std::string::npos);
}

TEST_F(CycleTest, UnreadableSourceRetriesAfterASecond) {
  SensorPrints(kGoodResult);
  std::filesystem::remove(dir_ / "Src.Prf");
  const CycleReport report = Run();
  EXPECT_EQ(report.path, Path::kProfileFailed);
  EXPECT_EQ(report.rearm, 1000ms);
  EXPECT_EQ(view_.caption(), "<Prf>");
  EXPECT_EQ(view_.frame_colours().back(), kRed);
  EXPECT_FALSE(dir_.Exists("SRC.Lck"));
  EXPECT_EQ(busy_flag_, BusyFlag::kIdle);
}

TEST_F(CycleTest, WaitsForASiblingsLockAndEndsOnTheEndOfProcessingFile) {
  SensorPrints(kGoodResult);
  dir_.Write("SRC.Lck", "");
  dir_.Write("AuxOrb0102.Prf", "");
  dir_.Write("AuxOrb0102.Wxx", "old");
  int waits = 0;
  view_.set_on_let_events_run([&](std::chrono::milliseconds) {
    if (++waits == 3) dir_.Write("AuxOrb0102.Eop", "");
  });
  const CycleReport report = Run();
  EXPECT_EQ(report.path, Path::kEndOfProcessing);
  EXPECT_EQ(waits, 3);
  EXPECT_EQ(view_.caption(), "<Wait>");
  // The sibling's lock stays; the orb's own files go.
  EXPECT_TRUE(dir_.Exists("SRC.Lck"));
  for (const char* file :
       {"AuxOrb0102.Eop", "AuxOrb0102.Prf", "AuxOrb0102.Wxx"}) {
    EXPECT_FALSE(dir_.Exists(file)) << file;
  }
}

TEST_F(CycleTest, GoesOnWhenTheSiblingReleasesTheLock) {
  SensorPrints(kGoodResult);
  dir_.Write("SRC.Lck", "");
  view_.set_on_let_events_run([&](std::chrono::milliseconds waited) {
    EXPECT_EQ(waited, 1000ms);
    std::filesystem::remove(dir_ / "SRC.Lck");
  });
  EXPECT_EQ(Run().path, Path::kGood);
  EXPECT_EQ(view_.event_runs().size(), 1u);
}

TEST_F(CycleTest, StopsWaitingWhenTheWindowClosedMeanwhile) {
  SensorPrints(kGoodResult);
  dir_.Write("SRC.Lck", "");
  view_.set_on_let_events_run(
      [&](std::chrono::milliseconds) { view_.set_closing(true); });
  EXPECT_EQ(Run().path, Path::kOrbClosing);
  EXPECT_EQ(view_.event_runs().size(), 1u);
  EXPECT_TRUE(dir_.Exists("SRC.Lck"));
  EXPECT_EQ(cycle_phase_, CyclePhase::kIdle);
}

TEST_F(CycleTest, RestartReadsTheExistingWorkFile) {
  SensorPrints(kGoodResult);
  restart_flag_ = true;
  dir_.Write(
      "AuxOrb0102.Wxx",
      "<Prtg>\n<Result><Channel>Kept</Channel><Value>5</Value></Result>\n"
      "</Prtg>\n");
  EXPECT_EQ(Run().path, Path::kGood);
  EXPECT_FALSE(dir_.Exists("args.txt"));
  ASSERT_EQ(items_.size(), 1u);
  EXPECT_EQ(items_[0].item, "Kept");
  EXPECT_FALSE(restart_flag_);
}

TEST_F(CycleTest, CannedResultInTheRfcOrbMode) {
  SensorPrints(kGoodResult);
  mode_ = "RfcOrb";
  canned_ = true;
  const CycleReport report = Run();
  EXPECT_EQ(report.path, Path::kGood);
  EXPECT_FALSE(report.rearm);  // not re-armed while the result is canned
  EXPECT_FALSE(dir_.Exists("args.txt"));
  ASSERT_EQ(items_.size(), 4u);
  EXPECT_EQ(items_[0].data, "344");
  EXPECT_EQ(items_[3].data, "438");
}

TEST_F(CycleTest, HttpAcquisitionWithoutFreshRowsWaitsForResume) {
  mode_ = "HttpOrb";
  const CycleReport report = Run([&](SourceLock& lock) {
    EXPECT_TRUE(lock.held());
    dir_.Write("HttpOrb0102.Wxx", "<Prtg>\n</Prtg>\n");
    return HttpOutcome{false};
  });
  EXPECT_EQ(report.path, Path::kNoData);
  EXPECT_EQ(report.no_data_message, "No Data from PRTG found...");
  EXPECT_FALSE(report.rearm);
  EXPECT_FALSE(dir_.Exists("SRC.Lck"));
  EXPECT_EQ(busy_flag_, BusyFlag::kIdle);
  const auto& captions = view_.captions();
  const auto rfc = std::find(captions.begin(), captions.end(), "<RFC>");
  const auto url = std::find(captions.begin(), captions.end(), "<URL>");
  EXPECT_LT(rfc, url);
  EXPECT_NE(url, captions.end());
}

TEST(CheckResultTest, OnlyTheLastTextLineCounts) {
  const ResultCheck check =
      CheckResult({"<Prtg>", "* STEP1    x", "<Text>Error a</Text>",
                   "<Text>b</Text>", "</Prtg>"});
  EXPECT_TRUE(check.complete);
  EXPECT_TRUE(check.has_processing_lines);
  EXPECT_EQ(check.error_text, "");
  EXPECT_EQ(check.first_text_line, " b");
}

}  // namespace
}  // namespace vigil
