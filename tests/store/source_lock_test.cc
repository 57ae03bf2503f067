#include "store/source_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <new>
#include <thread>

#include "store/lock_holder.h"
#include "store/text_file.h"
#include "support/child_process.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"

namespace vigil {
namespace {

using std::chrono::milliseconds;
using testing::RecordingView;
using testing::TempDir;

std::string Record(std::string_view number) {
  std::string record = std::string(number) + " Dialog";
  record.resize(77, ' ');
  return record + "Dialog.Prf;Check.Exe;;Dialog check";
}

// One orb's worth of lock taker in a temporary working directory.
struct Orb {
  // The log may live elsewhere than the orb's files.
  explicit Orb(const std::filesystem::path& dir,
               std::string_view number = "0102",
               std::filesystem::path log_dir = {})
      : files(dir, "RfcOrb", number),
        log((log_dir.empty() ? dir : log_dir) / "RfcOrbs.Log"),
        lock(files, "DIALOG", log, view, busy_flag) {
    log.set_context({"RfcOrb", Record(number), "DIALOG", true});
  }

  int LogLinesWith(std::string_view code) const {
    const auto lines = ReadLines(log.file());
    if (!lines) return 0;
    int count = 0;
    for (const std::string& line : *lines) {
      if (line.find(" " + std::string(code) + " ") != std::string::npos) {
        ++count;
      }
    }
    return count;
  }

  CompanionFiles files;
  EventLog log;
  RecordingView view;
  BusyFlag busy_flag = BusyFlag::kIdle;
  SourceLock lock;
};

TEST(SourceLockTest, TakesAFreeLockAndReleasesIt) {
  TempDir dir;
  Orb orb(dir.path());
  ASSERT_EQ(orb.lock.Take(), SourceLock::Outcome::kTaken);
  EXPECT_TRUE(dir.Exists("DIALOG.Lck"));
  // The holder names itself for the operator's tools.
  EXPECT_EQ(ParseLockHolder(dir.Read("DIALOG.Lck")),
            (LockHolder{"RfcOrb0102", static_cast<long>(::getpid())}));
  EXPECT_FALSE(dir.Exists("RfcOrb0102.Wat"));
  EXPECT_EQ(orb.busy_flag, BusyFlag::kHoldingLock);
  EXPECT_TRUE(orb.lock.held());
  EXPECT_EQ(orb.view.captions(), (std::vector<std::string>{"<Wait>", "<RFC>"}));
  EXPECT_EQ(orb.view.frame_colours(), (std::vector<Rgb>{kYellow, kMaroon}));
  EXPECT_TRUE(orb.view.event_runs().empty());
  EXPECT_EQ(orb.LogLinesWith("Lock"), 1);

  orb.lock.Release();
  EXPECT_FALSE(dir.Exists("DIALOG.Lck"));
  EXPECT_EQ(orb.busy_flag, BusyFlag::kIdle);
  EXPECT_EQ(orb.LogLinesWith("ULck"), 1);
  const auto lines = ReadLines(orb.log.file());
  ASSERT_EQ(lines->size(), 2u);
  // Lock and unlock carry an empty message.
  EXPECT_TRUE(
      lines->back().ends_with(" ULck 0102 DIALOG;Check.Exe;Dialog.Prf;"))
      << lines->back();
}

TEST(SourceLockTest, WaitsWhileASiblingHoldsTheLock) {
  TempDir dir;
  dir.Write("DIALOG.Lck", "");
  Orb orb(dir.path());
  orb.view.set_on_let_events_run([&](milliseconds) {
    EXPECT_EQ(orb.busy_flag, BusyFlag::kIdle);
    EXPECT_EQ(orb.LogLinesWith("Lock"), 0);
    EXPECT_EQ(dir.Read("RfcOrb0102.Wat"), "DIALOG\n");
    if (orb.view.event_runs().size() == 3) {
      std::filesystem::remove(dir / "DIALOG.Lck");  // the sibling releases
    }
  });
  ASSERT_EQ(orb.lock.Take(), SourceLock::Outcome::kTaken);
  EXPECT_EQ(orb.view.event_runs(),
            (std::vector<milliseconds>(3, milliseconds(1000))));
  EXPECT_EQ(orb.busy_flag, BusyFlag::kHoldingLock);
  EXPECT_EQ(orb.LogLinesWith("Lock"), 1);
  EXPECT_FALSE(dir.Exists("RfcOrb0102.Wat"));
}

TEST(SourceLockTest, EndOfProcessingEndsTheWait) {
  TempDir dir;
  dir.Write("DIALOG.Lck", "");
  dir.Write("RfcOrb0102.Prf", "profile");
  dir.Write("RfcOrb0102.Wxx", "<Prtg>");
  Orb orb(dir.path());
  orb.view.set_on_let_events_run([&](milliseconds) {
    if (orb.view.event_runs().size() == 2) dir.Write("RfcOrb0102.Eop", "");
  });
  EXPECT_EQ(orb.lock.Take(), SourceLock::Outcome::kEndOfProcessing);
  // Ended at the test after the file appeared.
  EXPECT_EQ(orb.view.event_runs().size(), 2u);
  EXPECT_FALSE(dir.Exists("RfcOrb0102.Eop"));
  EXPECT_FALSE(dir.Exists("RfcOrb0102.Prf"));
  EXPECT_FALSE(dir.Exists("RfcOrb0102.Wxx"));
  EXPECT_TRUE(dir.Exists("DIALOG.Lck"));  // the sibling's
  EXPECT_EQ(orb.busy_flag, BusyFlag::kIdle);
  EXPECT_EQ(orb.LogLinesWith("Lock"), 0);
}

TEST(SourceLockTest, UnwritableLockIsNeverTaken) {
  TempDir dir;
  dir.Write("plain-file", "");
  for (const auto& working_dir : {dir / "gone", dir / "plain-file"}) {
    SCOPED_TRACE(working_dir.string());
    Orb orb(working_dir, "0102", dir.path());
    EXPECT_EQ(orb.lock.Take(), SourceLock::Outcome::kNotWritable);
    EXPECT_EQ(orb.view.caption(), "<Lck>");
    EXPECT_EQ(orb.busy_flag, BusyFlag::kIdle);
    EXPECT_FALSE(orb.lock.held());
    EXPECT_TRUE(orb.view.event_runs().empty());  // the cycle retries later
    EXPECT_FALSE(FileExists(orb.lock.file()));
    // Releasing what was never taken logs nothing.
    orb.lock.Release();
    EXPECT_EQ(orb.LogLinesWith("Lock"), 0);
    EXPECT_EQ(orb.LogLinesWith("ULck"), 0);
  }
}

TEST(SourceLockTest, WithoutTheLockASiblingsFileStays) {
  TempDir dir;
  dir.Write("DIALOG.Lck", "");
  Orb orb(dir.path());
  EXPECT_EQ(orb.lock.Release(), milliseconds(0));
  orb.lock.Abandon();
  EXPECT_TRUE(dir.Exists("DIALOG.Lck"));
  EXPECT_EQ(orb.LogLinesWith("ULck"), 0);
}

// A lock file whose holder ended is taken over; one whose holder lives,
// or that its creator may not have locked yet, is waited for.
TEST(SourceLockTest, OnlyTheLockOfAnEndedHolderIsTakenOver) {
  struct Case {
    const char* name;
    bool holder_alive;
    int age_seconds;
    bool taken_over;
  } cases[] = {
      {"holder killed", false, 30, true},
      {"holder alive", true, 30, false},
      {"a file just made", false, 0, false},
  };
  for (const Case& c : cases) {
    TempDir dir;
    Orb holder(dir.path(), "0101");
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      if (holder.lock.Take() != SourceLock::Outcome::kTaken) ::_exit(1);
      if (!c.holder_alive) ::_exit(0);  // dies holding it
      ::pause();
    }
    ASSERT_TRUE(testing::WaitUntil(
        [&] { return holder.LogLinesWith("Lock") == 1; }, milliseconds(5000)));
    if (!c.holder_alive) {
      ::waitpid(pid, nullptr, 0);
      // A holder's text longer than the next one's must not show through.
      std::ofstream(dir / "DIALOG.Lck", std::ios::app) << "of a longer name\n";
    }
    const auto then = std::filesystem::file_time_type::clock::now() -
                      std::chrono::seconds(c.age_seconds);
    std::filesystem::last_write_time(dir / "DIALOG.Lck", then);

    Orb waiter(dir.path(), "0102");
    waiter.view.set_on_let_events_run([&](milliseconds) {
      if (waiter.view.event_runs().size() == 3) {
        waiter.view.set_closing(true);  // seen enough
      }
    });
    const SourceLock::Outcome outcome = waiter.lock.Take();
    EXPECT_EQ(outcome == SourceLock::Outcome::kTaken, c.taken_over) << c.name;
    const std::string log = ReadFileBytes(waiter.log.file()).value_or("");
    EXPECT_EQ(log.find(kTakenOverNote) != std::string::npos, c.taken_over)
        << c.name;
    if (c.taken_over) {
      EXPECT_EQ(ParseLockHolder(dir.Read("DIALOG.Lck")),
                (LockHolder{"RfcOrb0102", static_cast<long>(::getpid())}))
          << dir.Read("DIALOG.Lck");
      waiter.lock.Release();
      EXPECT_FALSE(dir.Exists("DIALOG.Lck")) << c.name;
    }
    if (c.holder_alive) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
  }
}

TEST(SourceLockTest, AbandonRemovesTheLockWithoutLogging) {
  TempDir dir;
  Orb orb(dir.path());
  ASSERT_EQ(orb.lock.Take(), SourceLock::Outcome::kTaken);
  orb.lock.Abandon();
  EXPECT_FALSE(dir.Exists("DIALOG.Lck"));
  EXPECT_EQ(orb.busy_flag, BusyFlag::kIdle);
  EXPECT_EQ(orb.LogLinesWith("ULck"), 0);
  // The next cycle takes it again.
  EXPECT_EQ(orb.lock.Take(), SourceLock::Outcome::kTaken);
}

TEST(SourceLockTest, ReleaseTellsTheAcquisitionTime) {
  TempDir dir;
  Orb orb(dir.path());
  ASSERT_EQ(orb.lock.Take(), SourceLock::Outcome::kTaken);
  std::this_thread::sleep_for(milliseconds(30));
  EXPECT_GE(orb.lock.Release(), milliseconds(30));
}

// Shared between the two taker processes.
struct Exclusion {
  std::atomic<int> ready{0};
  std::atomic<int> inside{0};
  std::atomic<int> overlaps{0};
  std::atomic<int> entries{0};
};

int TakeManyRounds(const std::filesystem::path& dir, std::string_view number,
                   int rounds, Exclusion& shared) {
  Orb orb(dir, number);
  orb.log.set_context({"RfcOrb", Record(number), "DIALOG", false});
  // Poll without pause, so that a gap between testing for the lock and
  // creating it would be hit.
  orb.view.set_on_let_events_run(
      [](milliseconds) { std::this_thread::yield(); });
  shared.ready.fetch_add(1);
  while (shared.ready.load() < 2) {
  }
  for (int round = 0; round < rounds; ++round) {
    if (orb.lock.Take() != SourceLock::Outcome::kTaken) return 2;
    if (shared.inside.fetch_add(1) != 0) shared.overlaps.fetch_add(1);
    shared.entries.fetch_add(1);
    ::usleep(100);
    shared.inside.fetch_sub(1);
    orb.lock.Release();
    if (orb.busy_flag != BusyFlag::kIdle) return 3;
  }
  return 0;
}

TEST(SourceLockTest, TwoProcessesAreNeverBothInside) {
  constexpr int kRounds = 500;
  TempDir dir;
  void* memory = ::mmap(nullptr, sizeof(Exclusion), PROT_READ | PROT_WRITE,
                        MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(memory, MAP_FAILED);
  auto* shared = new (memory) Exclusion;

  std::vector<pid_t> takers;
  for (const std::string_view number : {"0101", "0102"}) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) ::_exit(TakeManyRounds(dir.path(), number, kRounds, *shared));
    takers.push_back(pid);
  }
  for (const pid_t pid : takers) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }
  EXPECT_EQ(shared->overlaps.load(), 0);
  EXPECT_EQ(shared->entries.load(), 2 * kRounds);
  EXPECT_FALSE(dir.Exists("DIALOG.Lck"));
  ::munmap(memory, sizeof(Exclusion));
}

}  // namespace
}  // namespace vigil
