// The real AuxOrb cycling against small sensor scripts: what another
// program sees of it in the marker files, the lock file and the event log.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "monitor/program_runner.h"
#include "shell/thread_ending.h"
#include "store/source_lock.h"
#include "support/orb_workspace.h"
#include "support/record_builder.h"

namespace vigil {
namespace {

using namespace std::chrono_literals;
using testing::OrbWorkspace;
using testing::RecordBuilder;
using testing::WaitUntil;

// Prints the next value of a list on every run: 10, 50, 90, 10.
constexpr char kSteppingSensor[] =
    "#!/bin/sh\n"
    "n=$(cat count 2>/dev/null || echo 0)\n"
    "echo $((n + 1)) > count\n"
    "case $n in 0) v=10;; 1) v=50;; 2) v=90;; *) v=10;; esac\n"
    "echo '<Prtg>'\n"
    "echo \"<Result><Channel>Cpu</Channel><Value>$v</Value></Result>\"\n"
    "echo '</Prtg>'\n";

RecordBuilder CyclingOrb(const std::string& program) {
  RecordBuilder record;
  record.number = "0102";
  record.delay = "    1";
  record.lock_name = "SRC";
  record.tail = "Global;" + program + ";;Cycling";
  return record;
}

class CycleE2eTest : public ::testing::Test {
 protected:
  void SetUpOrb(const std::string& sensor,
                const std::string& program = "sensor.sh") {
    space_.InstallExtensionLibrary();
    space_.dir().Write("companion/" + program, sensor);
    std::filesystem::permissions(space_.dir() / ("companion/" + program),
                                 std::filesystem::perms::owner_all);
    record_ = CyclingOrb(program);
  }
  void WriteOrbsFile(const std::vector<std::string>& rules) {
    std::vector<std::string> lines = {"0806 AuxOrbs...   .", record_.Text()};
    for (const std::string& rule : rules) lines.push_back("0102 # " + rule);
    space_.WriteOrbsFile(lines);
  }
  std::unique_ptr<testing::ChildProcess> Start() {
    return space_.Start({space_.companion_dir(), "0102"});
  }
  bool Exists(const std::string& name) const {
    return space_.dir().Exists(name);
  }
  bool LogHas(const std::string& text) const {
    return space_.dir().Read("AuxOrbs.Log").find(text) != std::string::npos;
  }
  bool OnlyMarker(const std::string& marker) const {
    for (const char* m : {".Grn", ".Yel", ".Red", ".Flr"}) {
      if (Exists("AuxOrb0102" + std::string(m)) != (marker == m)) return false;
    }
    return true;
  }
  void ExpectNoOrbFilesLeft() const {
    for (const char* name :
         {"AuxOrb0102.Prf", "AuxOrb0102.Wxx", "AuxOrb0102.Eop",
          "AuxOrb0102.Grn", "AuxOrb0102.Yel", "AuxOrb0102.Red",
          "AuxOrb0102.Flr", "SRC.Lck"}) {
      EXPECT_FALSE(Exists(name)) << name;
    }
  }

  OrbWorkspace space_;
  RecordBuilder record_;
};

TEST_F(CycleE2eTest, MarkersAndLogFollowTheRulesAcrossCycles) {
  SetUpOrb(kSteppingSensor);
  WriteOrbsFile({"Cpu;>;40;Warning;", "Cpu;>;80;Set Alert;"});
  auto orb = Start();
  for (const char* marker : {".Grn", ".Yel", ".Red", ".Grn"}) {
    EXPECT_TRUE(WaitUntil([&] { return OnlyMarker(marker); }, 20s)) << marker;
  }
  EXPECT_TRUE(WaitUntil(
      [&] { return LogHas("Rset 0102 SRC;ID=;Global;Reset State..."); }, 10s));
  EXPECT_TRUE(LogHas("Warn 0102 SRC;ID=;Global;Warning..."));
  EXPECT_TRUE(LogHas("Alrt 0102 SRC;ID=;Global;Set Alert..."));
  orb->Signal(SIGTERM);
  EXPECT_EQ(orb->WaitFor(10s), 0);
  ExpectNoOrbFilesLeft();
}

TEST_F(CycleE2eTest, WaitsForAForeignLockAndEndsOnItsEndOfProcessingFile) {
  SetUpOrb(kSteppingSensor);
  WriteOrbsFile({});
  // A live holder: the file, and the advisory lock a holder keeps on it.
  space_.dir().Write("SRC.Lck", "");
  const int holder = ::open((space_.dir() / "SRC.Lck").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(holder, LOCK_EX), 0);
  auto orb = Start();
  ASSERT_TRUE(WaitUntil([&] { return Exists("AuxOrb0102.Prf"); }, 15s));
  std::this_thread::sleep_for(3s);
  EXPECT_FALSE(Exists("count"));  // never ran its sensor
  EXPECT_TRUE(orb->Running());
  space_.dir().Write("AuxOrb0102.Eop", "");
  EXPECT_EQ(orb->WaitFor(5s), 0);
  EXPECT_TRUE(Exists("SRC.Lck"));  // the other process's lock stays
  std::filesystem::remove(space_.dir() / "SRC.Lck");
  ::close(holder);
  ExpectNoOrbFilesLeft();
  EXPECT_TRUE(LogHas("Stop 0102 SRC;ID=;Global;"));
}

TEST_F(CycleE2eTest, EndOfProcessingFileEndsAnIdleOrbWithinTwoSeconds) {
  SetUpOrb(kSteppingSensor);
  record_.delay = "   30";
  WriteOrbsFile({});
  auto orb = Start();
  ASSERT_TRUE(WaitUntil([&] { return OnlyMarker(".Grn"); }, 15s));
  space_.dir().Write("AuxOrb0102.Eop", "");
  const auto asked = std::chrono::steady_clock::now();
  EXPECT_EQ(orb->WaitFor(5s), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - asked, 4s);  // a 2 s tick
  ExpectNoOrbFilesLeft();
}

TEST(RfcOrbE2eTest, StartsWithTheRfcLibraryAndWritesTheCannedResult) {
  // An orb without a title shows the canned result instead of running
  // its sensor.
  OrbWorkspace space("RfcOrb");
  space.InstallExtensionLibrary();
  space.InstallRfcLibrary();
  space.dir().Write("SAP Quillon.Gbl", "");
  RecordBuilder record = CyclingOrb("absent.sh");
  record.tail = "Global;absent.sh;;";
  space.dir().Write("companion/absent.sh", "#!/bin/sh\ntouch ran\n");
  std::filesystem::permissions(space.dir() / "companion/absent.sh",
                               std::filesystem::perms::owner_all);
  space.WriteOrbsFile({"0806 RfcOrbs...   .", record.Text()});
  auto orb = space.Start({space.companion_dir(), "0102"});
  ASSERT_TRUE(
      WaitUntil([&] { return space.dir().Exists("RfcOrb0102.Grn"); }, 15s));
  const std::string result = space.dir().Read("RfcOrb0102.Wxx");
  EXPECT_NE(result.find("<Value>0344</Value>"), std::string::npos) << result;
  EXPECT_NE(result.find("<Result><Channel>Response Time</Channel>"),
            std::string::npos);
  EXPECT_FALSE(space.dir().Exists("ran"));
  orb->Signal(SIGTERM);
  EXPECT_EQ(orb->WaitFor(10s), 0);
  EXPECT_FALSE(space.dir().Exists("RfcOrb0102.Prf"));
}

TEST_F(CycleE2eTest, MissingSensorEndsTheOrb) {
  SetUpOrb(kSteppingSensor);
  record_ = CyclingOrb("absent.sh");
  WriteOrbsFile({});
  auto orb = Start();
  EXPECT_TRUE(orb->WaitFor(20s));
  EXPECT_TRUE(LogHas(
      "Fail 0102 SRC;ID=;Global;Sensor absent.sh failed, please Check !"));
  ExpectNoOrbFilesLeft();
}

TEST_F(CycleE2eTest, SigtermInTheMiddleOfASensorRunLeavesNoFiles) {
  SetUpOrb("#!/bin/sh\ntouch running\nsleep 60\n");
  WriteOrbsFile({});
  auto orb = Start();
  ASSERT_TRUE(WaitUntil([&] { return Exists("running"); }, 15s));
  EXPECT_TRUE(Exists("SRC.Lck"));
  orb->Signal(SIGTERM);
  EXPECT_EQ(orb->WaitFor(5s), 0);
  ExpectNoOrbFilesLeft();
}

TEST_F(CycleE2eTest, TheEndOfProcessingFileEndsAnOrbWhoseSensorHangs) {
  SetUpOrb("#!/bin/sh\ntouch running\nexec sleep 60\n");
  WriteOrbsFile({});
  auto orb = Start();
  ASSERT_TRUE(WaitUntil([&] { return Exists("running"); }, 15s));
  space_.dir().Write("AuxOrb0102.Eop", "");
  EXPECT_EQ(orb->WaitFor(2s), 0);
  ExpectNoOrbFilesLeft();
  EXPECT_TRUE(LogHas("Stop 0102 SRC;ID=;Global;"));
}

// A sensor that floods its output or dies by a signal gives no data; the
// orb says so and goes on cycling.
TEST_F(CycleE2eTest, AFloodingOrCrashingSensorGivesNoDataAndTheOrbGoesOn) {
  const std::pair<const char*, std::uintmax_t> cases[] = {
      {"#!/bin/sh\ndate >> runs\nexec yes '<Text>flood</Text>'\n",
       kWorkFileLimit},
      {"#!/bin/sh\ndate >> runs\necho '<Prtg>'\nkill -SEGV $$\n", 7},
  };
  SetUpOrb(cases[0].first);
  WriteOrbsFile({});
  for (const auto& [sensor, work_file_size] : cases) {
    SCOPED_TRACE(sensor);
    std::filesystem::remove(space_.dir() / "runs");
    std::filesystem::remove(space_.dir() / "AuxOrbs.Log");
    space_.dir().Write("companion/sensor.sh", sensor);
    auto orb = Start();
    // Read before the next cycle, a second later, starts anew.
    ASSERT_TRUE(WaitUntil(
        [&] { return LogHas("Fail 0102 SRC;ID=;Global;No Data from RFC"); },
        20s));
    std::error_code error;
    EXPECT_EQ(
        std::filesystem::file_size(space_.dir() / "AuxOrb0102.Wxx", error),
        work_file_size);
    EXPECT_TRUE(WaitUntil(
        [&] {
          const std::string runs = space_.dir().Read("runs");
          return runs.find('\n') != runs.rfind('\n');
        },
        10s));  // and it went on
    EXPECT_TRUE(orb->Running());
    orb->Signal(SIGTERM);
    // A cycle that has just read 16 MiB, slow under the sanitizers, ends
    // first.
    EXPECT_EQ(orb->WaitFor(15s), 0);
  }
}

TEST_F(CycleE2eTest, SighupOfASessionLogoutEndsLikeSigterm) {
  SetUpOrb(kSteppingSensor);
  WriteOrbsFile({});
  auto orb = Start();
  ASSERT_TRUE(WaitUntil([&] { return OnlyMarker(".Grn"); }, 15s));
  orb->Signal(SIGHUP);
  EXPECT_EQ(orb->WaitFor(5s), 0);
  ExpectNoOrbFilesLeft();
}

// The killed orb leaves its lock file, and the sibling that waits for it
// takes it over and cycles again at once.
TEST_F(CycleE2eTest, ASiblingTakesOverTheLockOfAKilledOrb) {
  SetUpOrb("#!/bin/sh\necho $$ > running\nexec sleep 60\n");
  space_.dir().Write("companion/quick.sh", kSteppingSensor);
  std::filesystem::permissions(space_.dir() / "companion/quick.sh",
                               std::filesystem::perms::owner_all);
  RecordBuilder sibling = CyclingOrb("quick.sh");
  sibling.number = "0103";
  space_.WriteOrbsFile({"0806 AuxOrbs...   .", record_.Text(), sibling.Text()});
  auto orb = Start();
  ASSERT_TRUE(WaitUntil([&] { return Exists("running"); }, 15s));
  auto waiting = space_.Start({space_.companion_dir(), "0103"});
  ASSERT_TRUE(WaitUntil([&] { return Exists("AuxOrb0103.Prf"); }, 15s));
  std::this_thread::sleep_for(2s);  // its first cycle waits for the lock
  EXPECT_FALSE(Exists("count"));
  orb->Signal(SIGKILL);
  const auto killed = std::chrono::steady_clock::now();
  orb->WaitFor(5s);
  EXPECT_TRUE(Exists("AuxOrb0102.Prf"));
  ASSERT_TRUE(WaitUntil([&] { return Exists("AuxOrb0103.Grn"); }, 5s));
  EXPECT_LE(std::chrono::steady_clock::now() - killed, 2s);
  EXPECT_TRUE(LogHas(std::string(kTakenOverNote)));
  waiting->Signal(SIGTERM);
  EXPECT_EQ(waiting->WaitFor(5s), 0);
  // The orphaned sensor would keep the test's output open for a minute.
  const std::string sensor = space_.dir().Read("running");
  if (!sensor.empty()) ::kill(std::stoi(sensor), SIGKILL);
}

// The toolkit paints with worker threads and joins them as it shuts down;
// a joined thread still ending when the toolkit removes its thread-data key
// at exit never releases its data. The orb lets them end first.
TEST_F(CycleE2eTest, WorkerThreadsHaveEndedWhenTheToolkitLetsGoOfThem) {
  SetUpOrb(kSteppingSensor);
  WriteOrbsFile({});
  const std::string report = (space_.dir() / "threads-left").string();
  const char* asan_options = std::getenv("ASAN_OPTIONS");
  auto orb = space_.Start(
      {space_.companion_dir(), "0102"},
      {"QT_QPA_PLATFORM=offscreen",
       "LD_PRELOAD=" VIGIL_LIB_DIR "/libslow_thread_end.so",
       "SLOW_THREAD_END_REPORT=" + report,
       std::string("ASAN_OPTIONS=") + (asan_options ? asan_options : "") +
           ":verify_asan_link_order=0"});
  ASSERT_TRUE(WaitUntil([&] { return CountThreads(orb->pid()) > 1; }, 20s));
  orb->Signal(SIGTERM);
  EXPECT_EQ(orb->WaitFor(10s), 0);
  EXPECT_EQ(space_.dir().Read("threads-left"), "0\n");
}

}  // namespace
}  // namespace vigil
