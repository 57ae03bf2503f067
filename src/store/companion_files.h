// The files through which an orb coordinates with its siblings, the
// companion program and its launcher: names in the working directory and
// the file work on the state markers and the end-of-processing request.
#ifndef VIGIL_STORE_COMPANION_FILES_H_
#define VIGIL_STORE_COMPANION_FILES_H_

#include <filesystem>
#include <string>
#include <string_view>

#include "store/colour.h"
#include "store/event_log.h"
#include "store/orb_view.h"
#include "store/result.h"

namespace vigil {

enum class EndOfProcessing {
  kNotRequested,
  // The request's files are gone: the window stops its four timers,
  // announces state 6 (stopped) and closes.
  kStopAndClose,
};

class CompanionFiles final {
 public:
  CompanionFiles(std::filesystem::path working_dir, std::string_view mode_word,
                 std::string_view orb_number);

  const std::filesystem::path& working_dir() const { return working_dir_; }
  const std::string& orb_stem() const { return orb_stem_; }
  // After a move to another grid cell: every name follows the new number.
  void Renumber(std::string_view orb_number);

  std::filesystem::path AttachedProfile() const;
  std::filesystem::path WorkFile() const;
  std::filesystem::path EndOfProcessingFile() const;
  std::filesystem::path MailListFile() const;
  std::filesystem::path Marker(std::string_view extension) const;
  std::filesystem::path LockFile(std::string_view lock_name) const;

  // After a good cycle: ".Yel" for yellow, ".Red" for red, ".Grn" for any
  // other colour; the other markers go. A marker of the current state is
  // left untouched, so its time tells since when the state holds.
  Result<void> UpdateMarkers(Rgb orb_colour);
  // The sensor program could not be started: ".Flr" alone, rewritten.
  Result<void> WriteFailureMarker();
  void ClearMarkers() const;

  // An unwritten marker shows "<Mrk>" as the status caption (until the next
  // cycle shows "<Wait>") and logs one "Fail" line per run of failures, so
  // that a directory that stays read-only does not flood the log.
  void Report(const Result<void>& marker, OrbView& view, EventLog& log);

  bool EndOfProcessingRequested() const;
  // When the end-of-processing file exists, removes it, the attached
  // profile, the lock file when this orb holds it, and the work file.
  [[nodiscard]] EndOfProcessing TakeEndOfProcessingRequest(
      bool holds_lock, std::string_view lock_name) const;

 private:
  std::filesystem::path InWorkingDir(const std::string& name) const;

  std::filesystem::path working_dir_;
  std::string mode_word_;
  std::string orb_number_;
  std::string orb_stem_;
  std::string attached_profile_;
  bool marker_failure_logged_ = false;
};

}  // namespace vigil

#endif  // VIGIL_STORE_COMPANION_FILES_H_
