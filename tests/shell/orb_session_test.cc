#include "shell/orb_session.h"

#include <gtest/gtest.h>

#include "shell/orb_commands.h"
#include "store/text_file.h"
#include "support/record_builder.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"

namespace vigil {
namespace {

using Path = CycleReport::Path;
using testing::RecordBuilder;
using testing::RecordingView;
using testing::TempDir;

constexpr char kHeader[] = "0806 AuxOrbs...   .";
constexpr char kGoodResult[] =
    "<Prtg>\n<Result><Channel>Cpu</Channel><Value>42</Value></Result>\n"
    "</Prtg>\n";

// A started AuxOrb orb 0102 beside a sibling 0305, in a working directory
// that is also its companion directory.
class SessionTest : public ::testing::Test {
 protected:
  SessionTest() {
    mine_.lock_name = "SRC";
    mine_.delay = "    5";
    mine_.tail = "Src.Prf;sensor.sh;addr;Mine";
    other_.number = "0305";
    other_.tail = "Src.Prf;sensor.sh;addr;Other";
    dir_.Write("AuxOrbs.so", "");
    dir_.WriteLines("Src.Prf", {"# comment", "* Key.............: v"});
    dir_.WriteLines("AuxOrbs.Prf",
                    {kHeader, "0102 @ P;G;D;S", mine_.Text(), "0102 # r;>;1;",
                     "0102 * Cpu;", other_.Text(), "0305 # keep;<;2;",
                     "0305 $ X E other mail"});
    SensorPrints(kGoodResult);
  }

  void SensorPrints(const std::string& text) {
    dir_.Write("result.txt", text);
    dir_.Write("sensor.sh",
               "#!/bin/sh\necho run >> runs.txt\ncat result.txt\n");
    std::filesystem::permissions(dir_ / "sensor.sh",
                                 std::filesystem::perms::owner_all);
  }

  OrbSession& Start(bool restart = false) {
    CommandLine command_line;
    command_line.companion_dir = dir_.path().string();
    command_line.orb_number = "0102";
    command_line.restart = restart;
    session_ = std::make_unique<OrbSession>("AuxOrb", command_line, dir_.path(),
                                            "host");
    session_->Prepare();
    EXPECT_TRUE(session_->StartUp(view_, monitors_));
    return *session_;
  }

  std::vector<std::string> Lines() const {
    return ReadLines(dir_ / "AuxOrbs.Prf").value_or(std::vector<std::string>{});
  }
  std::vector<std::string> LinesOf(const std::string& number) const {
    std::vector<std::string> lines;
    for (const std::string& line : Lines()) {
      if (line.starts_with(number)) lines.push_back(line);
    }
    return lines;
  }
  int LogCount(const std::string& code) const {
    int count = 0;
    for (const std::string& line :
         ReadLines(dir_ / "AuxOrbs.Log").value_or(std::vector<std::string>{})) {
      if (line.find(" " + code + " ") != std::string::npos) ++count;
    }
    return count;
  }

  std::vector<DesktopMonitor> monitors_ = {{"DP-1", {0, 0, 1920, 1080}, true}};
  TempDir dir_;
  RecordBuilder mine_;
  RecordBuilder other_;
  RecordingView view_;
  std::unique_ptr<OrbSession> session_;
};

TEST_F(SessionTest, SaveRewritesOnlyTheOrbsOwnLines) {
  OrbSession& session = Start();
  const std::vector<std::string> others_before = LinesOf("0305");
  session.state().config.record.set_face_mode('2');
  session.state().config.rules.push_back("new;>;5;Warning;");
  session.state().grid_size_text = " 2  3";
  ASSERT_EQ(session.Save(view_, std::nullopt), SaveOutcome::kSaved);

  const std::vector<std::string> lines = Lines();
  EXPECT_EQ(lines.front(), kHeader);
  EXPECT_EQ(LinesOf("0305"), others_before);
  mine_.face_mode = '2';
  mine_.grid_size = " 2  3";
  EXPECT_EQ(LinesOf("0102"),
            (std::vector<std::string>{
                "0102 * Cpu;", "0102 @ P;G;D;S", mine_.Text(), "0102 # r;>;1;",
                "0102 # new;>;5;Warning;", "0102 $ ", "0102 % ", "0102 ! ",
                "0102 & ", "0102 \xC2\xA7 "}));
  EXPECT_EQ(session.state().grid_size_text, " 2  3");
}

TEST_F(SessionTest, TheGridFollowsItsMonitorAndWaitsOnThePrimaryForIt) {
  const DesktopMonitor primary = monitors_.front();
  const DesktopMonitor second = {"DP-2", {1920, 0, 1280, 1024}, false};
  monitors_.push_back(second);
  std::string header = std::string(kHeader) + std::string(11, ' ') + "DP-2";
  std::vector<std::string> lines = Lines();
  lines.front() = header;
  dir_.WriteLines("AuxOrbs.Prf", lines);
  OrbSession& session = Start();
  // Row 1, column 2 of 213 x 128 cells on the second monitor.
  EXPECT_EQ(session.home(), (WindowRect{1920 + 2 * 213, 128, 213, 128}));
  ASSERT_EQ(session.MoveTo(view_, "0203"), SaveOutcome::kSaved);
  EXPECT_EQ(session.home(), (WindowRect{1920 + 3 * 213, 2 * 128, 213, 128}));

  // Unplugged: the primary screen holds the grid, logged once.
  EXPECT_TRUE(session.FollowMonitors({primary}));
  EXPECT_EQ(session.home(), (WindowRect{3 * 320, 2 * 135, 320, 135}));
  EXPECT_FALSE(session.FollowMonitors({primary}));
  EXPECT_EQ(LogCount("Fail"), 1);
  // Back: so is the grid.
  EXPECT_TRUE(session.FollowMonitors({primary, second}));
  EXPECT_EQ(session.home(), (WindowRect{1920 + 3 * 213, 2 * 128, 213, 128}));
  EXPECT_EQ(LogCount("Fail"), 1);
}

TEST_F(SessionTest, AMoveTakesLinesProfileMarkersAndRequestFileAlong) {
  OrbSession& session = Start();
  ASSERT_EQ(session.RunCycle(view_).path, Path::kGood);
  ASSERT_TRUE(dir_.Exists("AuxOrb0102.Grn"));
  const std::string profile = dir_.Read("AuxOrb0102.Prf");

  ASSERT_EQ(session.MoveTo(view_, "0203"), SaveOutcome::kSaved);
  EXPECT_TRUE(LinesOf("0102").empty());
  EXPECT_EQ(LinesOf("0203").size(), 9u);
  EXPECT_EQ(session.record().number(), "0203");
  EXPECT_EQ(session.home().top, 2 * 135);
  EXPECT_EQ(session.home().left, 3 * 320);
  EXPECT_EQ(dir_.Read("AuxOrb0203.Prf"), profile);
  for (const char* gone :
       {"AuxOrb0102.Prf", "AuxOrb0102.Grn", "AuxOrb0102.Wxx"}) {
    EXPECT_FALSE(dir_.Exists(gone)) << gone;
  }
  // The next cycle works under the new number, and the new request file
  // is the one watched.
  ASSERT_EQ(session.RunCycle(view_).path, Path::kGood);
  EXPECT_TRUE(dir_.Exists("AuxOrb0203.Grn"));
  SuspendOrb(session);
  EXPECT_NE(dir_.Read("AuxOrbs.Log").find("Susp 0203 SRC;"), std::string::npos);
  dir_.Write("AuxOrb0102.Eop", "");
  EXPECT_FALSE(TakeEndOfProcessingRequest(session));
  dir_.Write("AuxOrb0203.Eop", "");
  EXPECT_TRUE(TakeEndOfProcessingRequest(session));
}

TEST_F(SessionTest, AMoveToAUsedCellChangesNothing) {
  OrbSession& session = Start();
  const std::string before = dir_.Read("AuxOrbs.Prf");
  EXPECT_EQ(session.MoveTo(view_, "0305"), SaveOutcome::kTargetTaken);
  EXPECT_EQ(session.MoveTo(view_, "0102"), SaveOutcome::kSaved);  // its own
  EXPECT_EQ(dir_.Read("AuxOrbs.Prf"), before);
  EXPECT_EQ(session.record().number(), "0102");
  EXPECT_TRUE(dir_.Exists("AuxOrb0102.Prf"));
}

TEST_F(SessionTest, AFailedSaveSaysWhyAndKeepsTheOrbsConfiguration) {
  OrbSession& session = Start();
  std::filesystem::remove(dir_ / "AuxOrbs.Prf");
  session.state().config.record.set_face_mode('3');
  EXPECT_EQ(session.Save(view_, std::nullopt), SaveOutcome::kMissing);
  EXPECT_FALSE(dir_.Exists("AuxOrbs.Prf"));
  ASSERT_FALSE(view_.panel_messages().empty());
  EXPECT_EQ(view_.panel_messages().back(),
            "AuxOrbs.Prf not found, not saved !");
  EXPECT_EQ(LogCount("Fail"), 1);
  EXPECT_EQ(session.record().face_mode(), '3');
}

// A timer tick or a command that arrives while the cycle waits for its
// lock must not run a cycle of its own inside it.
TEST_F(SessionTest, NoCycleStartsInsideAnother) {
  OrbSession& session = Start();
  dir_.Write("SRC.Lck", "");
  std::vector<Path> inner;
  view_.set_on_let_events_run([&](std::chrono::milliseconds) {
    inner.push_back(session.RunCycle(view_).path);
    if (inner.size() == 2) std::filesystem::remove(dir_ / "SRC.Lck");
  });
  EXPECT_EQ(session.RunCycle(view_).path, Path::kGood);
  EXPECT_EQ(inner, (std::vector<Path>{Path::kNotStarted, Path::kNotStarted}));
  EXPECT_EQ(dir_.Read("runs.txt"), "run\n");
  EXPECT_FALSE(session.cycle_running());
}

TEST_F(SessionTest, ARestartReadsTheLeftWorkFileOnceEvenWhenIncomplete) {
  dir_.Write("AuxOrb0102.Wxx", "<Prtg>\n<Result>");
  OrbSession& session = Start(/*restart=*/true);
  EXPECT_EQ(session.RunCycle(view_).path, Path::kNoData);
  EXPECT_FALSE(dir_.Exists("runs.txt"));
  EXPECT_EQ(session.RunCycle(view_).path, Path::kGood);
  EXPECT_EQ(dir_.Read("runs.txt"), "run\n");
}

}  // namespace
}  // namespace vigil
