#include "shell/orb_session.h"

#include "monitor/rfc_library_probe.h"
#include "shell/picture_catalogues.h"
#include "store/clock_text.h"
#include "store/config_record.h"
#include "store/file_remover.h"
#include "store/orb_names.h"
#include "store/text.h"
#include "store/text_file.h"

namespace vigil {
namespace {

// The choices every item list of the settings dialog starts with.
const std::vector<std::string> kFixedItemChoices = {
    "<No of Items>", "<Response>", "<All Items>", "*"};

}  // namespace

OrbSession::OrbSession(std::string mode_word, const CommandLine& command_line,
                       std::filesystem::path working_dir,
                       std::string computer_name)
    : mode_word_(std::move(mode_word)),
      working_dir_(std::move(working_dir)),
      computer_name_(computer_name.substr(0, 255)),
      companion_dir_(command_line.companion_dir),
      orb_number_(command_line.orb_number),
      restart_flag_(command_line.restart),
      carried_over_value_(command_line.restart ? command_line.carried_over : 0),
      version_text_(mode_word_ + kVersionText),
      window_caption_(" " + mode_word_ + "..."),
      event_log_(working_dir_ / EventLogName(mode_word_)),
      files_(working_dir_, mode_word_, orb_number_),
      values_(InitialOrbValues(mode_word_)) {
  if (restart_flag_) last_reset_date_ = DateText(WallClock::now());
  // The kept value starts as the carried-over value (0 unless restarted).
  values_.kept_value = carried_over_value_;
  values_.kept_date = last_reset_date_;
  event_log_.set_context({mode_word_, "", "", false});
}

std::filesystem::path OrbSession::InWorkingDir(const std::string& name) const {
  return working_dir_ / name;
}

std::string OrbSession::RowSlashColumn() const {
  return Mid(orb_number_, 1, 2) + "/" + Mid(orb_number_, 3, 2);
}

std::vector<std::string> OrbSession::item_choices() const {
  std::vector<std::string> choices = kFixedItemChoices;
  choices.insert(choices.end(), orb_lines_.item_choices.begin(),
                 orb_lines_.item_choices.end());
  return choices;
}

void OrbSession::Prepare() {
  startup_stage_ = StartupStage::kStartupPending;
  gauge_choices_ = GaugeChoices(working_dir_);
  image_choices_ = ImageChoices(working_dir_);
}

void OrbSession::ReportFailure(OrbView& view, const std::string& message,
                               bool must_acknowledge) {
  if (must_acknowledge) acknowledge_mark_ = true;
  view.ShowError(message);
  event_log_.Log("Fail", message);
}

std::optional<std::string> OrbSession::CheckLibrariesAndFiles() const {
  if (mode_word_ == "RfcOrb" && !ProbeRfcLibrary(working_dir_)) {
    return "\"" + std::string(kRfcLibraryName) + "\" is missing !";
  }
  if (!FileExists(InWorkingDir(ExtensionLibraryName(mode_word_)))) {
    return "\"" + ExtensionLibraryName(mode_word_) + "\" is missing !";
  }
  if (!FileExists(InWorkingDir(OrbsFileName(mode_word_)))) {
    return "\"" + OrbsFileName(mode_word_) + "\" is missing !";
  }
  if (orb_number_.empty()) return "Parameter(s) missing...";
  return std::nullopt;
}

bool OrbSession::ReadOrbsFile(OrbView& view, const ScreenInfo& screen) {
  const auto lines = ReadLines(InWorkingDir(OrbsFileName(mode_word_)));
  if (!lines) {
    ReportFailure(view, "Starting failed, please Retry !", true);
    return false;
  }
  const HeaderScan scan = ScanHeader(*lines, mode_word_);
  header_ = scan.settings;
  event_log_.set_context({mode_word_, "", "", header_.log_every_event});
  if (!scan.error.empty()) {
    ReportFailure(view, scan.error, true);
    return false;
  }
  cell_ = CellSizeFor(header_, screen.width, screen.height);
  orb_lines_ = ScanOrb(*lines, mode_word_, orb_number_);
  if (!orb_lines_.record) {
    ReportFailure(
        view, mode_word_ + "-Position " + RowSlashColumn() + " not found...",
        false);
    return false;
  }
  record_ = *orb_lines_.record;
  grid_size_text_ = GridSizeText(record_);
  lock_name_ = LockName(record_, mode_word_);
  const std::string source = SplitTail(record_).source;
  source_path_ =
      mode_word_ == "HttpOrb" ? source : companion_dir_ + "/" + source;
  event_log_.set_context(
      {mode_word_, record_, lock_name_, header_.log_every_event});
  return true;
}

bool OrbSession::TakeInstance(OrbView& view) {
  switch (CreateExclusively(files_.AttachedProfile())) {
    case CreateResult::kCreated:
      instance_taken_ = true;
      return true;
    case CreateResult::kExists:
      busy_flag_ = kBusyRefusedDuplicate;
      ReportFailure(view,
                    mode_word_ + " " + RowSlashColumn() + " already running !",
                    false);
      return false;
    case CreateResult::kFailed:
      ReportFailure(view, "Save.Prf failed, please Check !", true);
      return false;
  }
  return false;
}

bool OrbSession::WriteAttachedProfile(OrbView& view) {
  const bool global = IsGlobalSource(record_);
  if (!global && !FileExists(InWorkingDir(source_path_))) {
    ReportFailure(
        view, "Profile " + SplitTail(record_).source + " not found...", false);
    return false;
  }
  if (mode_word_ == "RfcOrb" &&
      !FileExists(InWorkingDir(std::string(kGlobalFileName)))) {
    ReportFailure(view, "File 'SAP Quillon.Gbl' not found...", true);
    return false;
  }
  const auto source =
      global ? std::nullopt : std::optional(InWorkingDir(source_path_));
  switch (CopyToAttachedProfile(source, files_.AttachedProfile())) {
    case ProfileCopy::kWritten:
      return true;
    case ProfileCopy::kSourceUnreadable:
      ReportFailure(view, "Read.Prf failed, please Check !", true);
      return false;
    case ProfileCopy::kNotWritten:
      ReportFailure(view, "Save.Prf failed, please Check !", true);
      return false;
  }
  return false;
}

std::optional<StartedOrb> OrbSession::Place(OrbView& view) {
  const auto row = ParseInteger(RecordRow(record_));
  const auto column = ParseInteger(RecordColumn(record_));
  const auto size = ParseGridSizeText(grid_size_text_);
  const auto delay = DelayTime(record_);
  if (!row || !column || *row < 0 || *column < 0) {
    ReportFailure(view,
                  "Position " + RowSlashColumn() + " invalid, please Check !",
                  true);
    return std::nullopt;
  }
  if (!size) {
    ReportFailure(view,
                  "Grid size '" + grid_size_text_ + "' invalid, please Check !",
                  true);
    return std::nullopt;
  }
  if (!delay) {
    ReportFailure(
        view,
        "Delay time '" + Mid(record_, 29, 5) + "' invalid, please Check !",
        true);
    return std::nullopt;
  }
  StartedOrb orb;
  orb.window = {*column * cell_.width, *row * cell_.height,
                cell_.width * size->columns, cell_.height * size->rows};
  home_ = orb.window;
  orb.title = SplitTail(record_).title;
  orb.caption =
      " " + SplitTail(record_).source + " / " + DisplayName(record_) + "...";
  orb.face_mode = FaceMode(record_);
  orb.chart_title_visible = RecordFlag(record_, 68) == 'x';
  delay_time_ = *delay;
  return orb;
}

std::optional<StartedOrb> OrbSession::StartUp(OrbView& view,
                                              const ScreenInfo& screen) {
  if (const auto problem = CheckLibrariesAndFiles()) {
    ReportFailure(view, *problem, false);
    return std::nullopt;
  }
  if (!ReadOrbsFile(view, screen) || !TakeInstance(view) ||
      !WriteAttachedProfile(view)) {
    return std::nullopt;
  }
  auto started = Place(view);
  if (started) startup_stage_ = StartupStage::kStarted;
  return started;
}

void OrbSession::CloseCleanUp() {
  // Only the files of an orb that took its number are its own.
  if (busy_flag_ == kBusyRefusedDuplicate || !instance_taken_) return;
  RemoveFile(files_.AttachedProfile());
  if (busy_flag_ == kBusyHoldingLock) RemoveFile(files_.LockFile(lock_name_));
  if (!restart_flag_) RemoveFile(files_.WorkFile());
  RemoveFile(files_.EndOfProcessingFile());
}

void OrbSession::DestroyCleanUp() {
  if (busy_flag_ == kBusyRefusedDuplicate) return;
  if (instance_taken_) RemoveFile(files_.AttachedProfile());
  event_log_.Log("Stop", "");
  if (!instance_taken_) return;
  if (busy_flag_ == kBusyHoldingLock) RemoveFile(files_.LockFile(lock_name_));
  RemoveFile(files_.WorkFile());
  files_.ClearMarkers();
  RemoveFile(files_.EndOfProcessingFile());
}

}  // namespace vigil
