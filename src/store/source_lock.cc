#include "store/source_lock.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "store/file_remover.h"
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

SourceLock::Outcome SourceLock::Take() {
  view_.SetFrameColour(kYellow);
  view_.SetStatusCaption("<Wait>");
  for (;;) {
    // Testing and creating are one step: a sibling that created the file
    // a moment before us makes us wait like any held lock.
    const CreateResult created = CreateExclusively(file_);
    if (created == CreateResult::kCreated) break;
    if (created == CreateResult::kFailed) {
      view_.SetStatusCaption("<Lck>");
      return Outcome::kNotWritable;
    }
    if (files_.TakeEndOfProcessingRequest(false, lock_name_) ==
        EndOfProcessing::kStopAndClose) {
      return Outcome::kEndOfProcessing;
    }
    view_.LetEventsRun(kPollInterval);
    if (view_.IsClosing()) return Outcome::kOrbClosing;
  }
  busy_flag_ = BusyFlag::kHoldingLock;
  taken_at_ = std::chrono::steady_clock::now();
  log_.Log("Lock", "");
  view_.SetFrameColour(kMaroon);
  view_.SetStatusCaption("<RFC>");
  return Outcome::kTaken;
}

std::chrono::milliseconds SourceLock::Release() {
  // Without the lock the file is a sibling's: leave it.
  if (!held()) return std::chrono::milliseconds(0);
  const auto held_for = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - taken_at_);
  RemoveFile(file_);
  log_.Log("ULck", "");
  busy_flag_ = BusyFlag::kIdle;
  return held_for;
}

void SourceLock::Abandon() {
  if (!held()) return;
  RemoveFile(file_);
  busy_flag_ = BusyFlag::kIdle;
}

}  // namespace vigil
