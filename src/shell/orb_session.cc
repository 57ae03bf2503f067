#include "shell/orb_session.h"

#include "monitor/result_format.h"
#include "monitor/rfc_library_probe.h"
#include "shell/grid_placement.h"
#include "shell/picture_catalogues.h"
#include "shell/termination_request.h"
#include "store/clock_text.h"
#include "store/file_remover.h"
#include "store/orb_mode.h"
#include "store/orb_names.h"
#include "store/text.h"
#include "store/text_file.h"

namespace vigil {
namespace {

// The choices every item list of the settings dialog starts with.
const std::vector<std::string> kFixedItemChoices = {
    "<No of Items>", "<Response>", "<All Items>", "*"};

// How long a sensor runs with the window blocked, as every short run does.
constexpr std::chrono::milliseconds kSensorRunBeforeEvents{1000};

}  // namespace

OrbSession::OrbSession(std::string mode_word, const CommandLine& command_line,
                       std::filesystem::path working_dir,
                       std::string computer_name)
    : working_dir_(std::move(working_dir)),
      computer_name_(computer_name.substr(0, 255)),
      orb_number_(command_line.orb_number),
      carried_over_value_(command_line.restart ? command_line.carried_over : 0),
      version_text_(mode_word + kVersionText),
      window_caption_(" " + mode_word + "..."),
      event_log_(working_dir_ / EventLogName(mode_word)),
      files_(working_dir_, mode_word, orb_number_),
      prtg_client_(version_text_),
      cycle_(state_, files_, event_log_, dispatch_) {
  cycle_.set_face_link({&face_model_.face.zoomed,
                        &face_model_.face.canned_result,
                        &face_model_.chart.chart_unit});
  state_.mode_word = std::move(mode_word);
  state_.companion_dir = command_line.companion_dir;
  state_.restart_flag = command_line.restart;
  state_.values = InitialOrbValues(state_.mode_word);
  if (command_line.restart) last_reset_date_ = DateText(WallClock::now());
  // The kept value starts as the carried-over value (0 unless restarted).
  state_.values.kept_value = carried_over_value_;
  state_.values.kept_date = last_reset_date_;
  SetLogContext();
}

std::filesystem::path OrbSession::InWorkingDir(const std::string& name) const {
  return working_dir_ / name;
}

std::filesystem::path OrbSession::OrbsFile() const {
  return InWorkingDir(OrbsFileName(state_.mode_word));
}

void OrbSession::SetLogContext() {
  event_log_.set_context({state_.mode_word, state_.record(), state_.lock_name,
                          state_.header.log_every_event});
}

std::vector<std::string> OrbSession::item_choices() const {
  std::vector<std::string> choices = kFixedItemChoices;
  choices.insert(choices.end(), state_.item_names.begin(),
                 state_.item_names.end());
  return choices;
}

AlterOutcome OrbSession::AlterSettings(const AlteredSettings& settings) {
  const AlterOutcome outcome =
      WriteAlteredSettings(settings, state_.config.record);
  if (outcome.delay_changed) state_.delay_time = settings.delay;
  return outcome;
}

void OrbSession::ReloadLastResult() {
  if (!state_.http()) {
    if (const auto lines = ReadResultLines(files_.WorkFile())) {
      const auto chart_unit = ReadResultRows(
          state_, *lines, WorkFileFormat(state_.mode_word, *lines));
      if (chart_unit) face_model_.chart.chart_unit = *chart_unit;
    }
  }
  if (!state_.record().history_mode()) ApplyRecordSorting(state_);
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
  const std::string& mode_word = state_.mode_word;
  if (OrbModeOf(mode_word).sap_rfc && !ProbeRfcLibrary(working_dir_)) {
    return "\"" + std::string(kRfcLibraryName) + "\" is missing !";
  }
  if (!FileExists(InWorkingDir(ExtensionLibraryName(mode_word)))) {
    return "\"" + ExtensionLibraryName(mode_word) + "\" is missing !";
  }
  if (!FileExists(OrbsFile())) {
    return "\"" + OrbsFileName(mode_word) + "\" is missing !";
  }
  if (orb_number_.empty()) return "Parameter(s) missing...";
  return std::nullopt;
}

bool OrbSession::ReadOrbsFile(OrbView& view,
                              const std::vector<DesktopMonitor>& monitors) {
  const auto lines = ReadLines(OrbsFile());
  if (!lines) {
    ReportFailure(view, "Starting failed, please Retry !", true);
    return false;
  }
  const HeaderScan scan = ScanHeader(*lines, state_.mode_word);
  state_.header = scan.settings;
  SetLogContext();
  if (!scan.error.empty()) {
    ReportFailure(view, scan.error, true);
    return false;
  }
  PlaceGrid(monitors);
  OrbLines orb = ScanOrb(*lines, state_.mode_word, orb_number_);
  if (!orb.record) {
    ReportFailure(view,
                  state_.mode_word + "-Position " +
                      RowSlashColumn(orb_number_) + " not found...",
                  false);
    return false;
  }
  TakeConfiguration(std::move(orb));
  return true;
}

void OrbSession::TakeConfiguration(OrbLines lines) {
  state_.config.record = std::move(*lines.record);
  state_.config.rules = std::move(lines.rules);
  state_.config.actions = std::move(lines.actions);
  state_.captions = std::move(lines.captions);
  state_.item_names = std::move(lines.item_choices);
  const ConfigRecord& record = state_.record();
  state_.grid_size_text = record.grid_size_text();
  state_.lock_name = record.LockName(state_.mode_word);
  const std::string source = record.tail().source;
  state_.source_path =
      state_.http() ? source : state_.companion_dir + "/" + source;
  SetLogContext();
}

bool OrbSession::TakeInstance(OrbView& view) {
  switch (CreateExclusively(files_.AttachedProfile())) {
    case CreateResult::kCreated:
      instance_taken_ = true;
      return true;
    case CreateResult::kExists:
      state_.busy_flag = BusyFlag::kRefusedDuplicate;
      ReportFailure(view,
                    state_.mode_word + " " + RowSlashColumn(orb_number_) +
                        " already running !",
                    false);
      return false;
    case CreateResult::kFailed:
      ReportFailure(view, "Save.Prf failed, please Check !", true);
      return false;
  }
  return false;
}

bool OrbSession::WriteAttachedProfile(OrbView& view) {
  const bool global = state_.record().global_source();
  if (!global && !FileExists(InWorkingDir(state_.source_path))) {
    ReportFailure(view,
                  "Profile " + state_.record().tail().source + " not found...",
                  false);
    return false;
  }
  if (OrbModeOf(state_.mode_word).sap_rfc &&
      !FileExists(InWorkingDir(std::string(kGlobalFileName)))) {
    ReportFailure(view, "File 'SAP Quillon.Gbl' not found...", true);
    return false;
  }
  const auto source =
      global ? std::nullopt : std::optional(InWorkingDir(state_.source_path));
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

std::optional<std::string> OrbSession::PlacementProblem() const {
  const ConfigRecord& record = state_.record();
  const auto row = ParseInteger(record.row());
  const auto column = ParseInteger(record.column());
  if (!row || !column || *row < 0 || *column < 0) {
    return "Position " + RowSlashColumn(orb_number_) +
           " invalid, please Check !";
  }
  if (!ParseGridSizeText(state_.grid_size_text)) {
    return "Grid size '" + state_.grid_size_text + "' invalid, please Check !";
  }
  if (!record.delay_time()) {
    return "Delay time '" + record.delay_text() + "' invalid, please Check !";
  }
  return std::nullopt;
}

void OrbSession::PlaceGrid(const std::vector<DesktopMonitor>& monitors) {
  GridArea chosen = ChooseGridArea(state_.header.grid_monitor, monitors);
  grid_area_ = chosen.area;
  state_.cell = CellSizeFor(state_.header, grid_area_.width, grid_area_.height);
  // Once per absence, not on every change of the desktop while it lasts.
  if (chosen.missing != missing_monitor_ && !chosen.missing.empty()) {
    event_log_.Log("Fail", chosen.missing);
  }
  missing_monitor_ = std::move(chosen.missing);
}

bool OrbSession::FollowMonitors(const std::vector<DesktopMonitor>& monitors) {
  const WindowRect before = grid_area_;
  PlaceGrid(monitors);
  if (grid_area_ == before) return false;
  home_ = HomeOfRecord();
  return true;
}

WindowRect OrbSession::HomeOfRecord() const {
  const ConfigRecord& record = state_.record();
  const int row = ParseInteger(record.row()).value_or(0);
  const int column = ParseInteger(record.column()).value_or(0);
  const GridSize size =
      ParseGridSizeText(state_.grid_size_text).value_or(GridSize{});
  const CellSize& cell = state_.cell;
  return {grid_area_.left + column * cell.width,
          grid_area_.top + row * cell.height, cell.width * size.columns,
          cell.height * size.rows};
}

std::optional<StartedOrb> OrbSession::Place(OrbView& view) {
  if (const auto problem = PlacementProblem()) {
    ReportFailure(view, *problem, true);
    return std::nullopt;
  }
  const ConfigRecord& record = state_.record();
  StartedOrb orb;
  home_ = HomeOfRecord();
  orb.window = home_;
  orb.title = record.tail().title;
  orb.caption =
      " " + record.tail().source + " / " + record.display_name() + "...";
  state_.delay_time = *record.delay_time();
  return orb;
}

std::optional<StartedOrb> OrbSession::StartUp(
    OrbView& view, const std::vector<DesktopMonitor>& monitors) {
  if (const auto problem = CheckLibrariesAndFiles()) {
    ReportFailure(view, *problem, false);
    return std::nullopt;
  }
  if (!ReadOrbsFile(view, monitors) || !TakeInstance(view) ||
      !WriteAttachedProfile(view)) {
    return std::nullopt;
  }
  auto started = Place(view);
  if (!started) return std::nullopt;
  startup_stage_ = StartupStage::kStarted;
  ConnectCycle(view);
  return started;
}

void OrbSession::ConfigureActions(OrbView& view) {
  ActionEnvironment environment;
  environment.mode_word = state_.mode_word;
  environment.files = &files_;
  environment.record = &state_.config.record;
  environment.actions = &state_.config.actions;
  environment.values = &state_.values;
  environment.view = &view;
  environment.should_give_up = [] { return TerminationRequested(); };
  dispatch_.SetEnvironment(std::move(environment));
}

void OrbSession::ConnectCycle(OrbView& view) {
  ConfigureActions(view);
  // A sensor that never ends still yields to a signal and, looked for a few
  // times a second, to the end-of-processing file. Once it has run for a
  // second the window's events run as in the lock wait, so that Stop and
  // the other commands reach the orb too; a quicker run blocks the window.
  cycle_.set_should_give_up(
      [this, &view, next_look = std::chrono::steady_clock::time_point()](
          std::chrono::milliseconds running) mutable {
        if (TerminationRequested()) return true;
        if (running >= kSensorRunBeforeEvents) {
          view.LetEventsRun(std::chrono::milliseconds(0));
          if (view.IsClosing()) return true;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now < next_look) return false;
        next_look = now + std::chrono::milliseconds(250);
        return files_.EndOfProcessingRequested();
      });
  if (!state_.http()) return;
  cycle_.set_http_acquisition([this, &view](SourceLock& lock) {
    const PrtgAcquisition got =
        prtg_client_.Acquire(PrtgOrbOf(state_), files_, view, lock, event_log_);
    return HttpOutcome{got.fresh_rows, !got.messages.empty()};
  });
}

void OrbSession::ReportSaveFailure(OrbView& view, SaveOutcome outcome) {
  const std::string name = OrbsFileName(state_.mode_word);
  std::string message;
  switch (outcome) {
    case SaveOutcome::kMissing:
      message = name + " not found, not saved !";
      break;
    case SaveOutcome::kUnreadable:
      message = name + " not readable, not saved !";
      break;
    case SaveOutcome::kUnwritable:
      message = name + " not writable, not saved !";
      break;
    case SaveOutcome::kSaved:
    case SaveOutcome::kTargetTaken:
    case SaveOutcome::kPlaceTaken:
      return;
  }
  // The orb goes on with the configuration it has; the error panel stays
  // until the next good cycle.
  view.ShowErrorPanel(message);
  event_log_.Log("Fail", message);
}

SaveOutcome OrbSession::Save(OrbView& view,
                             const std::optional<MoveNote>& move_note) {
  const std::string stored_size = state_.record().grid_size_text();
  state_.config.record.set_grid_size_text(state_.grid_size_text);
  const SaveOutcome outcome =
      SaveOrbsFile(OrbsFile(), state_.mode_word, state_.config, move_note);
  ReportSaveFailure(view, outcome);
  // A size that does not fit is not the orb's: it keeps the one stored.
  if (outcome == SaveOutcome::kPlaceTaken) {
    state_.config.record.set_grid_size_text(stored_size);
  }
  if (outcome == SaveOutcome::kSaved && move_note &&
      move_note->old_number != move_note->new_number) {
    MoveOrbFiles(*move_note);
  }
  state_.grid_size_text = state_.record().grid_size_text();
  return outcome;
}

void OrbSession::MoveOrbFiles(const MoveNote& move_note) {
  const std::filesystem::path old_profile = files_.AttachedProfile();
  const auto profile = ReadLines(old_profile);
  files_.ClearMarkers();
  files_.Renumber(move_note.new_number);
  orb_number_ = move_note.new_number;
  // The new name first: a crash in between leaves a stale profile, as any
  // crash does, never a running orb without one.
  WriteLinesAtomically(files_.AttachedProfile(),
                       profile.value_or(std::vector<std::string>{}));
  RemoveFile(old_profile);
  SetLogContext();
}

SaveOutcome OrbSession::MoveTo(OrbView& view,
                               const std::string& target_number) {
  const MoveNote note{orb_number_, target_number};
  // The orb's own cell: nothing to move.
  if (note.old_number == note.new_number) return SaveOutcome::kSaved;
  const std::filesystem::path old_work_file = files_.WorkFile();
  state_.config.record.set_number(target_number);
  const SaveOutcome outcome = Save(view, note);
  if (outcome != SaveOutcome::kSaved) {
    state_.config.record.set_number(note.old_number);
    return outcome;
  }
  RemoveFile(old_work_file);
  home_ = HomeOfRecord();
  return outcome;
}

void OrbSession::CloseCleanUp() {
  // Only the files of an orb that took its number are its own.
  if (state_.busy_flag == BusyFlag::kRefusedDuplicate || !instance_taken_) {
    return;
  }
  RemoveFile(files_.AttachedProfile());
  if (state_.busy_flag == BusyFlag::kHoldingLock) {
    RemoveFile(files_.LockFile(state_.lock_name));
  }
  if (!state_.restart_flag) RemoveFile(files_.WorkFile());
  RemoveFile(files_.EndOfProcessingFile());
}

void OrbSession::DestroyCleanUp() {
  if (state_.busy_flag == BusyFlag::kRefusedDuplicate) return;
  if (instance_taken_) RemoveFile(files_.AttachedProfile());
  event_log_.Log("Stop", "");
  if (!instance_taken_) return;
  if (state_.busy_flag == BusyFlag::kHoldingLock) {
    RemoveFile(files_.LockFile(state_.lock_name));
  }
  RemoveFile(files_.WorkFile());
  files_.ClearMarkers();
  RemoveFile(files_.EndOfProcessingFile());
}

}  // namespace vigil
