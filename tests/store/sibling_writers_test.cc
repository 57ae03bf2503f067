// Sibling orbs are separate processes that write one event log and one
// orbs file: many of them at once, one killed in the middle of a save, and
// one whose disk is full.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <random>
#include <set>

#include "store/event_log.h"
#include "store/orbs_file.h"
#include "store/text_file.h"
#include "support/record_builder.h"
#include "support/temp_dir.h"

namespace vigil {
namespace {

using testing::RecordBuilder;
using testing::TempDir;

// Runs body(i) in n processes that start together; true when all exited 0.
bool InProcesses(int n, const std::function<void(int)>& body) {
  int start[2];
  if (pipe(start) != 0) return false;
  std::vector<pid_t> children;
  for (int i = 0; i < n; ++i) {
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
      close(start[1]);
      char go;
      if (read(start[0], &go, 1) < 0) _exit(3);
      body(i);
      _exit(0);
    }
    children.push_back(child);
  }
  close(start[0]);
  close(start[1]);
  bool all_ok = true;
  for (const pid_t child : children) {
    int status = 0;
    all_ok &= waitpid(child, &status, 0) == child && WIFEXITED(status) &&
              WEXITSTATUS(status) == 0;
  }
  return all_ok;
}

RecordBuilder OrbAt(int i) {
  RecordBuilder record;
  record.number = "0" + std::to_string(i / 10) + "0" + std::to_string(i % 10);
  record.tail = "Global;sensor;;round 0";
  return record;
}

TEST(SiblingWritersTest, TwentyLoggingOrbsLoseNoLineAndKeepTheNewest100) {
  TempDir dir;
  constexpr int kOrbs = 20;
  auto log_round = [&](int round, int lines) {
    return InProcesses(kOrbs, [&](int i) {
      EventLog log(dir / "AuxOrbs.Log");
      log.set_context({"AuxOrb", OrbAt(i).Text(), "SRC", false});
      for (int n = 0; n < lines; ++n) {
        log.Log("Strt", "r" + std::to_string(round) + "-" + std::to_string(i) +
                            "-" + std::to_string(n) + ".");
      }
    });
  };
  auto messages = [&] {
    std::set<std::string> found;
    const auto lines =
        ReadLines(dir / "AuxOrbs.Log").value_or(std::vector<std::string>{});
    for (const std::string& line : lines) {
      found.insert(line.substr(line.rfind(';') + 1));
    }
    return found;
  };
  ASSERT_TRUE(log_round(0, 5));
  EXPECT_EQ(messages().size(), 100u);  // all twenty times five
  ASSERT_TRUE(log_round(1, 1));
  const std::set<std::string> newest = messages();
  EXPECT_EQ(ReadLines(dir / "AuxOrbs.Log")->size(), 100u);
  for (int i = 0; i < kOrbs; ++i) {
    EXPECT_TRUE(newest.count("r1-" + std::to_string(i) + "-0.")) << i;
  }
}

TEST(SiblingWritersTest, TenOrbsSavingAtOnceLoseNoChange) {
  TempDir dir;
  constexpr int kOrbs = 10;
  constexpr int kRounds = 20;
  std::vector<std::string> lines = {"0806 AuxOrbs...   ."};
  for (int i = 0; i < kOrbs; ++i) lines.push_back(OrbAt(i).Text());
  dir.WriteLines("AuxOrbs.Prf", lines);
  ASSERT_TRUE(InProcesses(kOrbs, [&](int i) {
    RecordBuilder record = OrbAt(i);
    for (int round = 1; round <= kRounds; ++round) {
      record.tail = "Global;sensor;;round " + std::to_string(round);
      if (SaveOrbsFile(dir / "AuxOrbs.Prf", "AuxOrb", {record.Text()},
                       std::nullopt) != SaveOutcome::kSaved) {
        _exit(1);
      }
    }
  }));
  const auto saved = ReadLines(dir / "AuxOrbs.Prf").value();
  for (int i = 0; i < kOrbs; ++i) {
    const OrbLines orb = ScanOrb(saved, "AuxOrb", OrbAt(i).number);
    ASSERT_TRUE(orb.record) << i;
    EXPECT_EQ(orb.record->tail().title, "round 20") << i;
  }
}

TEST(SiblingWritersTest, AnOrbKilledInASaveNeverLeavesATornFile) {
  TempDir dir;
  RecordBuilder other = OrbAt(1);
  RecordBuilder mine = OrbAt(2);
  const std::vector<std::string> before = {"0806 AuxOrbs...   .", other.Text(),
                                           mine.Text()};
  dir.WriteLines("AuxOrbs.Prf", before);
  std::mt19937 random(20261208);
  std::uniform_int_distribution<int> instant_us(0, 3000);
  for (int round = 0; round < 150; ++round) {
    const pid_t saver = fork();
    ASSERT_GE(saver, 0);
    if (saver == 0) {
      for (int n = 0;; ++n) {
        mine.tail = "Global;sensor;;save " + std::to_string(n);
        SaveOrbsFile(dir / "AuxOrbs.Prf", "AuxOrb", {mine.Text()},
                     std::nullopt);
      }
    }
    usleep(static_cast<useconds_t>(instant_us(random)));
    kill(saver, SIGKILL);
    waitpid(saver, nullptr, 0);
    // Whole: the header, the other orb untouched, one record of mine.
    const auto lines = ReadLines(dir / "AuxOrbs.Prf");
    ASSERT_TRUE(lines) << "round " << round;
    ASSERT_GE(lines->size(), 3u) << "round " << round;
    EXPECT_EQ((*lines)[0], before[0]) << "round " << round;
    EXPECT_EQ(ScanOrb(*lines, "AuxOrb", other.number).record->text(),
              other.Text());
    const OrbLines orb = ScanOrb(*lines, "AuxOrb", mine.number);
    ASSERT_TRUE(orb.record) << "round " << round;
    EXPECT_TRUE(orb.record->tail().title.starts_with("round 0") ||
                orb.record->tail().title.starts_with("save "))
        << orb.record->text();
  }
}

// Makes the working directory unwritable for this process: root writes
// anywhere, so a root process also becomes nobody.
bool LoseWriteAccess(const std::filesystem::path& dir) {
  if (chmod(dir.c_str(), 0555) != 0) return false;
  return geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0);
}

bool FillTheDisk(const std::filesystem::path&) {
  signal(SIGXFSZ, SIG_IGN);  // a full disk answers ENOSPC, not a signal
  const rlimit full = {64, 64};
  return setrlimit(RLIMIT_FSIZE, &full) == 0;
}

// A full disk (a file size limit below the files' sizes) or a working
// directory turned read-only: the save and the log line fail, and both
// files stay as they were.
TEST(SiblingWritersTest, AFullDiskOrAReadOnlyDirectoryLosesNothing) {
  const struct {
    const char* name;
    bool (*fault)(const std::filesystem::path&);
  } cases[] = {{"full disk", FillTheDisk}, {"read-only", LoseWriteAccess}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    RecordBuilder mine = OrbAt(2);
    dir.WriteLines("AuxOrbs.Prf", {"0806 AuxOrbs...   .", mine.Text()});
    EventLog log(dir / "AuxOrbs.Log");
    log.set_context({"AuxOrb", mine.Text(), "SRC", false});
    log.Log("Strt", "before");
    const std::string orbs_file = dir.Read("AuxOrbs.Prf");
    const std::string log_file = dir.Read("AuxOrbs.Log");
    // Others may read what the test made, as a sibling would.
    std::filesystem::permissions(dir.path(), std::filesystem::perms(0755));
    for (const char* name : {"AuxOrbs.Prf", "AuxOrbs.Log"}) {
      std::filesystem::permissions(dir / name, std::filesystem::perms(0644));
    }
    ASSERT_TRUE(InProcesses(1, [&](int) {
      if (!c.fault(dir.path())) _exit(2);
      mine.tail = "Global;sensor;;changed";
      if (SaveOrbsFile(dir / "AuxOrbs.Prf", "AuxOrb", {mine.Text()},
                       std::nullopt) != SaveOutcome::kUnwritable) {
        _exit(1);
      }
      log.Log("Stop", "after");
    }));
    std::filesystem::permissions(dir.path(), std::filesystem::perms(0755));
    EXPECT_EQ(dir.Read("AuxOrbs.Prf"), orbs_file);
    EXPECT_EQ(dir.Read("AuxOrbs.Log"), log_file);
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos)
          << entry.path();
    }
  }
}

}  // namespace
}  // namespace vigil
