#include "monitor/monitoring_cycle.h"

#include <utility>

#include "actions/settings_fields.h"
#include "actions/state_announcement.h"
#include "monitor/program_runner.h"
#include "monitor/result_format.h"
#include "monitor/sensor_timeout.h"
#include "store/clock_text.h"
#include "store/file_remover.h"
#include "store/orb_mode.h"
#include "store/processing_states.h"
#include "store/source_lock.h"
#include "store/text.h"
#include "store/text_file.h"

namespace vigil {
namespace {

using std::chrono::milliseconds;
constexpr milliseconds kRetry{1000};

CycleReport Ended(CycleReport::Path path,
                  std::optional<milliseconds> rearm = std::nullopt) {
  CycleReport report;
  report.path = path;
  report.rearm = rearm;
  return report;
}

// Every way out of a cycle leaves it idle.
class PhaseGuard {
 public:
  explicit PhaseGuard(CyclePhase& phase) : phase_(phase) {}
  ~PhaseGuard() { phase_ = CyclePhase::kIdle; }
  PhaseGuard(const PhaseGuard&) = delete;
  PhaseGuard& operator=(const PhaseGuard&) = delete;

 private:
  CyclePhase& phase_;
};

int StateCodeFor(Rgb orb_colour) {
  if (orb_colour == kRed) return state_code::kRed;
  if (orb_colour == kYellow) return state_code::kYellow;
  return state_code::kGreen;
}

}  // namespace

std::string NoDataFoundText(bool http) {
  return std::string("No Data from ") + (http ? "PRTG" : "RFC") + " found...";
}

bool MonitoringCycle::CannedResult() const {
  return face_.canned_result != nullptr && *face_.canned_result;
}

milliseconds MonitoringCycle::Delay() const {
  return milliseconds(static_cast<long long>(state_.delay_time) * 1000);
}

// The error display: the panel, the error timer that ends the orb, "Fail".
void MonitoringCycle::ShowFailure(OrbView& view, const std::string& message) {
  view.ShowError(message);
  log_.Log("Fail", message);
}

CycleReport MonitoringCycle::Run(OrbView& view) {
  if (running()) return Ended(CycleReport::Path::kNotStarted);
  PhaseGuard phase(state_.cycle_phase);
  state_.cycle_phase = CyclePhase::kWaitingForLock;
  state_.lists.work.Clear();
  state_.values.colour_at_cycle_start = state_.items.colour();

  SourceLock lock(files_, state_.lock_name, log_, view, state_.busy_flag);
  if (auto ended = TakeLock(lock, view)) return *ended;
  state_.cycle_phase = CyclePhase::kAcquiring;
  // A restarted orb reads the work file it left once, then runs its sensor.
  const bool restarted = std::exchange(state_.restart_flag, false);
  if (!restarted) RemoveFile(files_.WorkFile());
  view.SetBusyCursor(true);
  const auto started = std::chrono::steady_clock::now();
  state_.lists.work.Clear();

  HttpOutcome acquired;
  if (state_.http()) {
    acquired = AcquireFromPrtg(lock, view);
  } else if (auto ended = AcquireBySensor(lock, view, restarted)) {
    view.SetBusyCursor(false);
    return *ended;
  }
  EndAcquisition(lock, view, started);
  return CheckTheResult(view, acquired);
}

std::optional<CycleReport> MonitoringCycle::TakeLock(SourceLock& lock,
                                                     OrbView& view) {
  switch (lock.Take()) {
    case SourceLock::Outcome::kNotWritable:
      return Ended(CycleReport::Path::kLockNotWritable, kRetry);
    case SourceLock::Outcome::kEndOfProcessing:
      return Ended(CycleReport::Path::kEndOfProcessing);
    case SourceLock::Outcome::kOrbClosing:
      return Ended(CycleReport::Path::kOrbClosing);
    case SourceLock::Outcome::kTaken:
      return std::nullopt;
  }
  return std::nullopt;
}

HttpOutcome MonitoringCycle::AcquireFromPrtg(SourceLock& lock, OrbView& view) {
  view.SetStatusCaption("<URL>");
  if (!http_acquisition_) return {};
  return http_acquisition_(lock);
}

std::optional<std::string> ReadResultRows(OrbState& state,
                                          const std::vector<std::string>& lines,
                                          const ResultFormat& format) {
  if (state.http()) return std::nullopt;
  return format
      .Read(lines, ResultReaderSettingsFor(state.record()), state.items,
            state.lists.work)
      .chart_unit;
}

void ApplyRecordSorting(OrbState& state) {
  const ConfigRecord& record = state.record();
  if (record.sorting() != '0' && record.face_mode() != '1') {
    ApplySortingSetting(state.items, record.sorting(), state.sort_state,
                        state.values.number_format);
  }
}

void LogFailure(bool unattended, bool& failure_logged, EventLog& log,
                const std::string& text) {
  if (unattended && std::exchange(failure_logged, true)) return;
  log.Log("Fail", text);
}

void LogFailure(OrbState& state, EventLog& log, const std::string& text) {
  LogFailure(state.unattended(), state.failure_logged, log, text);
}

// The RfcOrb and AuxOrb acquisition; nullopt when it went on to the result
// check.
std::optional<CycleReport> MonitoringCycle::AcquireBySensor(SourceLock& lock,
                                                            OrbView& view,
                                                            bool restarted) {
  if (auto ended = RefreshAttachedProfile(lock, view)) return ended;
  const std::string program = state_.record().tail().program;
  // Looked up where it is run: in the companion directory.
  if (program.empty() || !FileExists(state_.companion_dir + "/" + program)) {
    ShowFailure(view, "Sensor " + program + " failed, please Check !");
    return Ended(CycleReport::Path::kSensorMissing);
  }
  if (restarted) return std::nullopt;
  if (CannedResult() && OrbModeOf(state_.mode_word).canned_result) {
    StringList(CannedResultLines()).SaveToFile(files_.WorkFile());
    return std::nullopt;
  }
  return RunSensor(lock, view);
}

std::optional<CycleReport> MonitoringCycle::RefreshAttachedProfile(
    SourceLock& lock, OrbView& view) {
  const auto source =
      state_.record().global_source()
          ? std::nullopt
          : std::optional(files_.working_dir() / state_.source_path);
  if (CopyToAttachedProfile(source, files_.AttachedProfile()) ==
      ProfileCopy::kWritten) {
    return std::nullopt;
  }
  view.SetStatusCaption("<Prf>");
  view.SetFrameColour(kRed);
  lock.Abandon();
  return Ended(CycleReport::Path::kProfileFailed, kRetry);
}

std::optional<CycleReport> MonitoringCycle::RunSensor(SourceLock& lock,
                                                      OrbView& view) {
  const RecordTail tail = state_.record().tail();
  const std::string profile_argument =
      state_.record().global_source()
          ? std::string("Global")
          : files_.AttachedProfile().filename().string();
  const std::string command =
      RedirectedCommandLine(SensorCommand(state_.companion_dir, tail.program,
                                          profile_argument, tail.address),
                            files_.WorkFile().filename().string());
  const auto limit =
      ReadSensorTimeout(ReadLines(files_.AttachedProfile())
                            .value_or(std::vector<std::string>{}))
          .value_or(std::nullopt);
  const auto started = std::chrono::steady_clock::now();
  bool timed_out = false;
  std::function<bool()> give_up;
  if (should_give_up_ || limit) {
    give_up = [&] {
      const auto elapsed = std::chrono::duration_cast<milliseconds>(
          std::chrono::steady_clock::now() - started);
      if (should_give_up_ && should_give_up_(elapsed)) return true;
      timed_out = limit && elapsed >= *limit;
      return timed_out;
    };
  }
  const ProgramRun run =
      RunShellCommand(command, files_.working_dir(), give_up);
  if (run.abandoned && timed_out) {
    // Its process group is ended; the siblings need the lock now.
    lock.Release();
    const std::string text = SensorTimedOutText(tail.program, *limit);
    LogFailure(state_, log_, text);
    return NoData(view, CycleReport{}, text);
  }
  if (run.abandoned) return Ended(CycleReport::Path::kGaveUp);
  if (!run.started) {
    // Siblings need not wait for the orb's end to get the source.
    lock.Release();
    files_.Report(files_.WriteFailureMarker(), view, log_);
    ShowFailure(view, "Error - Processing Error occured...");
    return Ended(CycleReport::Path::kProgramFailed);
  }
  if (EnabledAt(state_.config.actions.trace, 13)) {
    ActionContext run_context;
    run_context.run_time = run.run_time;
    dispatch_.Trace(ActionKind::kRunTrace, run_context);
  }
  return std::nullopt;
}

void MonitoringCycle::EndAcquisition(
    SourceLock& lock, OrbView& view,
    std::chrono::steady_clock::time_point started) {
  state_.values.acquisition_time = std::chrono::duration_cast<milliseconds>(
      std::chrono::steady_clock::now() - started);
  lock.Release();
  view.SetBusyCursor(false);
  if (const auto idle =
          IdleColour(state_.record().idle_colour_code().value_or(-1))) {
    view.SetFrameColour(*idle);
  }
}

CycleReport MonitoringCycle::CheckTheResult(OrbView& view,
                                            const HttpOutcome& acquired) {
  auto result = ReadResultLines(files_.WorkFile());
  if (!result) {
    view.SetFrameColour(kRed);
    return Ended(CycleReport::Path::kNoWorkFile, Delay());
  }
  std::vector<std::string> message = std::move(*result);
  CycleReport report;
  const bool http = state_.http();
  const ResultFormat& format = WorkFileFormat(state_.mode_word, message);
  const ResultCheck check = format.Check(message);
  report.show_view_logging = check.has_processing_lines;
  state_.first_text_line = check.first_text_line;
  std::string error_text = check.error_text;
  if (!error_text.empty()) LogErrorReport(error_text);
  if (http) {
    const auto& progress = state_.lists.wrky.lines();
    message.insert(message.end(), progress.begin(), progress.end());
  }
  if (!check.complete) {
    error_text = NoDataFoundText(http);
    LogFailure(state_, log_, error_text);
  }
  if (http && (!acquired.fresh_rows || state_.items.empty())) {
    error_text = NoDataFoundText(/*http=*/true);
    LogFailure(state_, log_, error_text);
  }
  if (!error_text.empty()) return NoData(view, std::move(report), error_text);
  state_.logged_error_report.clear();
  report = EvaluateAndPublish(view, std::move(report), message, format);
  if (state_.unattended() && acquired.requests_failed) {
    view.SetStatusCaption(std::string(kFailCaption));
  } else {
    state_.failure_logged = false;
  }
  return report;
}

// An unattended wall needs the sensor's reason in the log; once while it
// stays the same, so that a sensor that keeps failing does not push every
// other line out.
void MonitoringCycle::LogErrorReport(const std::string& text) {
  if (state_.logged_error_report == text) return;
  state_.logged_error_report = text;
  log_.Log("Fail", text);
}

CycleReport MonitoringCycle::NoData(OrbView& view, CycleReport report,
                                    const std::string& error_text) {
  view.ShowErrorPanel(error_text);
  view.SetStatusCaption(state_.unattended() ? std::string(kFailCaption)
                                            : "<Susp>");
  state_.items.set_colour(kSilver);
  report.state_changed = state_.values.state_code != state_code::kNoData;
  AnnounceState(state_code::kNoData, state_.config.actions, state_.values,
                dispatch_);
  report.path = CycleReport::Path::kNoData;
  report.no_data_message = error_text;
  report.state_code = state_code::kNoData;
  // An HttpOrb orb waits for Resume, unless nobody is there to give it.
  if (!state_.http() || state_.unattended()) report.rearm = Delay();
  return report;
}

CycleReport MonitoringCycle::EvaluateAndPublish(
    OrbView& view, CycleReport report, const std::vector<std::string>& message,
    const ResultFormat& format) {
  view.HideErrorPanel();
  state_.processing = ReadProcessingStates(message);
  const auto chart_unit = ReadResultRows(state_, message, format);
  if (chart_unit && face_.chart_unit != nullptr)
    *face_.chart_unit = *chart_unit;
  ApplyRecordSorting(state_);
  report.last_update = "<" + Mid(TimeText(WallClock::now()), 1, 5) + ">";
  view.SetStatusCaption("");

  RuleInputs inputs;
  inputs.zoomed = face_.zoomed != nullptr && *face_.zoomed;
  inputs.today = DateText(WallClock::now());
  inputs.sensor_limits = !state_.header.own_rules_only;
  report.rules = EvaluateRules(state_.config, inputs, state_.items,
                               state_.values, log_, dispatch_);
  if (report.rules.action_context) {
    dispatch_.SetActionContext(*report.rules.action_context);
  }
  report.state_code = StateCodeFor(report.rules.orb_colour);
  if (report.state_code != state_.values.state_code) {
    report.state_changed = true;
    AnnounceState(report.state_code, state_.config.actions, state_.values,
                  dispatch_);
  }
  files_.Report(files_.UpdateMarkers(report.rules.orb_colour), view, log_);
  report.path = CycleReport::Path::kGood;
  if (!CannedResult()) report.rearm = Delay();
  return report;
}

}  // namespace vigil
