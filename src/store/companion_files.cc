#include "store/companion_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "store/file_remover.h"
#include "store/orb_names.h"
#include "store/text_file.h"

namespace vigil {
namespace {

// An existing marker is not touched, so its time tells since when.
bool CreateUnlessExists(const std::filesystem::path& file) {
  return CreateExclusively(file) != CreateResult::kFailed;
}

// Other programs watch the markers, so the orb says so, but it keeps
// cycling.
Error Unwritable(const std::filesystem::path& marker) {
  return Failure("State marker " + marker.filename().string() +
                 " not writable !");
}

}  // namespace

CompanionFiles::CompanionFiles(std::filesystem::path working_dir,
                               std::string_view mode_word,
                               std::string_view orb_number)
    : working_dir_(std::move(working_dir)),
      mode_word_(mode_word),
      orb_number_(orb_number),
      orb_stem_(OrbStem(mode_word, orb_number)),
      attached_profile_(AttachedProfileName(orb_stem_)) {}

void CompanionFiles::Renumber(std::string_view orb_number) {
  orb_number_ = orb_number;
  orb_stem_ = OrbStem(mode_word_, orb_number_);
  attached_profile_ = AttachedProfileName(orb_stem_);
}

std::filesystem::path CompanionFiles::InWorkingDir(
    const std::string& name) const {
  return working_dir_.empty() ? std::filesystem::path(name)
                              : working_dir_ / name;
}

std::filesystem::path CompanionFiles::AttachedProfile() const {
  return InWorkingDir(attached_profile_);
}

std::filesystem::path CompanionFiles::WorkFile() const {
  return InWorkingDir(WorkFileName(attached_profile_, mode_word_));
}

std::filesystem::path CompanionFiles::EndOfProcessingFile() const {
  return InWorkingDir(EndOfProcessingName(orb_stem_));
}

std::filesystem::path CompanionFiles::MailListFile() const {
  return InWorkingDir(MailListName(orb_number_));
}

std::filesystem::path CompanionFiles::Marker(std::string_view extension) const {
  return InWorkingDir(MarkerName(attached_profile_, extension));
}

std::filesystem::path CompanionFiles::LockFile(
    std::string_view lock_name) const {
  return InWorkingDir(LockFileName(lock_name));
}

Result<void> CompanionFiles::UpdateMarkers(Rgb orb_colour) {
  std::string_view current = kGreenMarker;
  if (orb_colour == kYellow) current = kYellowMarker;
  if (orb_colour == kRed) current = kRedMarker;
  for (const std::string_view marker : kAllMarkers) {
    if (marker != current) RemoveFile(Marker(marker));
  }
  const std::filesystem::path file = Marker(current);
  if (CreateUnlessExists(file)) return {};
  return Unwritable(file);
}

Result<void> CompanionFiles::WriteFailureMarker() {
  for (const std::string_view marker : kAllMarkers) {
    if (marker != kFailureMarker) RemoveFile(Marker(marker));
  }
  const std::filesystem::path file = Marker(kFailureMarker);
  if (WriteLines(file, {})) return {};
  return Unwritable(file);
}

void CompanionFiles::ClearMarkers() const {
  for (const std::string_view marker : kAllMarkers) RemoveFile(Marker(marker));
}

void CompanionFiles::Report(const Result<void>& marker, OrbView& view,
                            EventLog& log) {
  if (marker) {
    marker_failure_logged_ = false;
    return;
  }
  view.SetStatusCaption("<Mrk>");
  if (marker_failure_logged_) return;
  marker_failure_logged_ = true;
  log.Log("Fail", marker.error());
}

bool CompanionFiles::EndOfProcessingRequested() const {
  return FileExists(EndOfProcessingFile());
}

EndOfProcessing CompanionFiles::TakeEndOfProcessingRequest(
    bool holds_lock, std::string_view lock_name) const {
  if (!EndOfProcessingRequested()) return EndOfProcessing::kNotRequested;
  RemoveFile(EndOfProcessingFile());
  RemoveFile(AttachedProfile());
  if (holds_lock) RemoveFile(LockFile(lock_name));
  RemoveFile(WorkFile());
  return EndOfProcessing::kStopAndClose;
}

}  // namespace vigil
