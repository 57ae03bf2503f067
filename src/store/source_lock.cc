#include "store/source_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <utility>

#include "store/file_remover.h"
#include "store/lock_holder.h"
#include "store/text_file.h"

namespace vigil {

SourceLock::SourceLock(const CompanionFiles& files, std::string lock_name,
                       EventLog& log, OrbView& view, BusyFlag& busy_flag)
    : files_(files),
      lock_name_(std::move(lock_name)),
      file_(files.LockFile(lock_name_)),
      log_(log),
      view_(view),
      busy_flag_(busy_flag) {}

namespace {

int OpenForLocking(const std::filesystem::path& file) {
  int fd;
  do {
    fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// The holder's name for the operator's tools; the lock works without it.
// Written over the file, not after truncating it: ext4 flushes a file that
// was truncated to nothing when it is closed, which would be a disk write
// every cycle. Only a longer text of a stale holder is cut.
void WriteHolder(const std::filesystem::path& file, const LockHolder& holder) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return;
  const std::string text = LockHolderText(holder);
  const ssize_t written = ::pwrite(fd, text.data(), text.size(), 0);
  struct stat status {};
  if (written == static_cast<ssize_t>(text.size()) &&
      ::fstat(fd, &status) == 0 && status.st_size > written) {
    [[maybe_unused]] const int cut = ::ftruncate(fd, written);
  }
  ::close(fd);
}

// The wait marker, there from the first test that finds the lock held
// until the wait ends in any way.
class WaitMarker {
 public:
  WaitMarker(std::filesystem::path file, std::string lock_name)
      : file_(std::move(file)), lock_name_(std::move(lock_name)) {}
  ~WaitMarker() {
    if (written_) RemoveFile(file_);
  }
  WaitMarker(const WaitMarker&) = delete;
  WaitMarker& operator=(const WaitMarker&) = delete;

  void Write() {
    if (!written_) written_ = WriteLines(file_, {lock_name_}, "\n");
  }

 private:
  std::filesystem::path file_;
  std::string lock_name_;
  bool written_ = false;
};

std::chrono::nanoseconds Age(const struct stat& status) {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return std::chrono::seconds(now.tv_sec - status.st_mtim.tv_sec) +
         std::chrono::nanoseconds(now.tv_nsec - status.st_mtim.tv_nsec);
}

}  // namespace

SourceLock::~SourceLock() {
  if (advisory_fd_ >= 0) ::close(advisory_fd_);
}

SourceLock::Outcome SourceLock::Take() {
  view_.SetFrameColour(kYellow);
  view_.SetStatusCaption("<Wait>");
  bool taken_over = false;
  WaitMarker waiting(files_.Marker(kWaitMarker), lock_name_);
  for (;;) {
    // Testing and creating are one step: a sibling that created the file
    // a moment before us makes us wait like any held lock.
    const CreateResult created = CreateExclusively(file_);
    if (created == CreateResult::kCreated) {
      HoldAdvisoryLock();
      break;
    }
    if (created == CreateResult::kExists && TakeOverStaleLock()) {
      taken_over = true;
      break;
    }
    if (created == CreateResult::kFailed) {
      view_.SetStatusCaption("<Lck>");
      return Outcome::kNotWritable;
    }
    if (files_.TakeEndOfProcessingRequest(false, lock_name_) ==
        EndOfProcessing::kStopAndClose) {
      return Outcome::kEndOfProcessing;
    }
    waiting.Write();
    view_.LetEventsRun(kPollInterval);
    if (view_.IsClosing()) return Outcome::kOrbClosing;
  }
  busy_flag_ = BusyFlag::kHoldingLock;
  taken_at_ = std::chrono::steady_clock::now();
  WriteHolder(file_, {files_.orb_stem(), static_cast<long>(::getpid())});
  if (taken_over) {
    log_.LogAlways("Lock", kTakenOverNote);
  } else {
    log_.Log("Lock", "");
  }
  view_.SetFrameColour(kMaroon);
  view_.SetStatusCaption("<RFC>");
  return Outcome::kTaken;
}

std::chrono::milliseconds SourceLock::Release() {
  // Without the lock the file is a sibling's: leave it.
  if (!held()) return std::chrono::milliseconds(0);
  const auto held_for = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - taken_at_);
  RemoveLockFile();
  log_.Log("ULck", "");
  busy_flag_ = BusyFlag::kIdle;
  return held_for;
}

void SourceLock::Abandon() {
  if (!held()) return;
  RemoveLockFile();
  busy_flag_ = BusyFlag::kIdle;
}

void SourceLock::HoldAdvisoryLock() {
  // Without it the lock still works as it always did; only a takeover
  // after our death is lost.
  advisory_fd_ = OpenForLocking(file_);
  if (advisory_fd_ < 0) return;
  while (::flock(advisory_fd_, LOCK_EX) != 0 && errno == EINTR) {
  }
}

bool SourceLock::TakeOverStaleLock() {
  const int fd = OpenForLocking(file_);
  if (fd < 0) return false;
  struct stat opened {};
  struct stat named {};
  // Still the file of that name (not one its holder just removed), no
  // holder's lock on it, and too old to be a file its creator has yet to
  // lock.
  const bool stale =
      ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 &&
      ::stat(file_.c_str(), &named) == 0 && opened.st_ino == named.st_ino &&
      opened.st_dev == named.st_dev && Age(opened) >= kStaleAfter;
  if (!stale) {
    ::close(fd);
    return false;
  }
  advisory_fd_ = fd;
  return true;
}

void SourceLock::RemoveLockFile() {
  // Removed before it is unlocked, so that a waiter never finds our file
  // unlocked while it still has its name.
  RemoveFile(file_);
  if (advisory_fd_ >= 0) ::close(advisory_fd_);
  advisory_fd_ = -1;
}

}  // namespace vigil
