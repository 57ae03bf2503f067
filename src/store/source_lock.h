// The lock file that serialises the acquisition of all orbs, of any mode,
// that share a lock name. It is created with O_CREAT | O_EXCL, so of two
// orbs that find it absent at the same moment exactly one gets it.
//
// While an orb holds the file it also holds an advisory lock (flock) on it,
// which the kernel drops when the orb dies. A waiting orb that finds the
// file but can take the advisory lock, on a file older than a live holder
// needs to lock it, knows the holder is gone and takes the lock over:
// otherwise an orb killed in its cycle would leave its siblings waiting
// for ever. The holder writes its stem and pid into the file, and a
// waiting orb keeps a wait marker (lock_holder.h), for the operator's
// tools; no orb reads either.
#ifndef VIGIL_STORE_SOURCE_LOCK_H_
#define VIGIL_STORE_SOURCE_LOCK_H_

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

#include "store/busy_flag.h"
#include "store/companion_files.h"
#include "store/event_log.h"
#include "store/orb_view.h"

namespace vigil {

// The note of the "Lock" line of a lock taken over.
inline constexpr std::string_view kTakenOverNote =
    "Lock of an ended Orb taken over...";

class SourceLock final {
 public:
  // Between two tests of a lock held by another orb.
  static constexpr std::chrono::milliseconds kPollInterval{1000};
  // A live holder locks its new file at once; an unlocked file this old
  // was left by an orb that ended while holding it.
  static constexpr std::chrono::milliseconds kStaleAfter{1000};
  // The cycle tries again this long after a lock that could not be written.
  static constexpr std::chrono::milliseconds kRetryInterval{1000};

  enum class Outcome {
    kTaken,
    // Not created for another reason than a sibling holding it; the status
    // caption shows "<Lck>".
    kNotWritable,
    // The end-of-processing file appeared during the wait and its files
    // are gone: stop the timers, announce state 6 and close the orb.
    kEndOfProcessing,
    // The window closed while events ran; its clean-up has run.
    kOrbClosing,
  };

  // busy_flag is the orb's; the lock sets it to 1 while held.
  SourceLock(const CompanionFiles& files, std::string lock_name, EventLog& log,
             OrbView& view, BusyFlag& busy_flag);
  ~SourceLock();
  SourceLock(const SourceLock&) = delete;
  SourceLock& operator=(const SourceLock&) = delete;

  // Waits, with no time limit, while another orb holds the lock, testing
  // for the end-of-processing file and letting window events run between
  // tests. Logs "Lock" when taken, with a note when it was taken over from
  // an orb that ended while holding it.
  Outcome Take();
  // Removes the lock file, logs "ULck" and returns how long it was held.
  std::chrono::milliseconds Release();
  // Removes the lock file without a log line, for the cycle's error paths.
  void Abandon();

  bool held() const { return busy_flag_ == BusyFlag::kHoldingLock; }
  const std::filesystem::path& file() const { return file_; }

 private:
  void HoldAdvisoryLock();
  bool TakeOverStaleLock();
  void RemoveLockFile();

  const CompanionFiles& files_;
  std::string lock_name_;
  std::filesystem::path file_;
  EventLog& log_;
  OrbView& view_;
  BusyFlag& busy_flag_;
  std::chrono::steady_clock::time_point taken_at_;
  int advisory_fd_ = -1;  // open while held
};

}  // namespace vigil

#endif  // VIGIL_STORE_SOURCE_LOCK_H_
