#include "monitor/monitoring_cycle.h"

#include "actions/settings_fields.h"
#include "actions/state_announcement.h"
#include "monitor/result_reader.h"
#include "store/clock_text.h"
#include "store/config_record.h"
#include "store/file_remover.h"
#include "store/orbs_file.h"
#include "store/processing_states.h"
#include "store/source_lock.h"
#include "store/text.h"
#include "store/text_file.h"

namespace vigil {
namespace {

using std::chrono::milliseconds;
constexpr milliseconds kRetry{1000};

// The text after "<Text>" up to the next "<".
std::string TextRecord(const std::string& line) {
  const std::string rest = Mid(line, 7);
  return rest.substr(0, rest.find('<'));
}

milliseconds DelayOf(const CycleContext& context) {
  return milliseconds(static_cast<long long>(context.delay_time) * 1000);
}

void EndAcquisition(CycleContext& context) {
  *context.busy_flag = kBusyIdle;
  *context.cycle_phase = kCycleIdle;
}

CycleReport Ended(CycleReport::Path path,
                  std::optional<milliseconds> rearm = std::nullopt) {
  CycleReport report;
  report.path = path;
  report.rearm = rearm;
  return report;
}

// The error display: the panel, the error timer that ends the orb, "Fail".
void ShowFailure(CycleContext& context, OrbView& view,
                 const std::string& message) {
  view.ShowError(message);
  context.log->Log("Fail", message);
}

// Steps of the RfcOrb and AuxOrb acquisition; nullopt when they went on to
// the result check.
std::optional<CycleReport> RunSensor(CycleContext& context, OrbView& view,
                                     SourceLock& lock,
                                     ActionDispatch& dispatch) {
  const RecordTail tail = SplitTail(context.record);
  const bool global = IsGlobalSource(context.record);
  const std::string profile_argument =
      global ? std::string("Global")
             : context.files->AttachedProfile().filename().string();
  const std::filesystem::path dir = context.files->working_dir();
  const auto source =
      global ? std::nullopt : std::optional(dir / context.source_path);
  if (CopyToAttachedProfile(source, context.files->AttachedProfile()) !=
      ProfileCopy::kWritten) {
    view.SetStatusCaption("<Prf>");
    view.SetFrameColour(kRed);
    lock.Abandon();
    EndAcquisition(context);
    return Ended(CycleReport::Path::kProfileFailed, kRetry);
  }
  // Looked up where it is run: in the companion directory.
  const std::string program_path = context.companion_dir + "/" + tail.program;
  if (tail.program.empty() || !FileExists(program_path)) {
    ShowFailure(context, view,
                "Sensor " + tail.program + " failed, please Check !");
    return Ended(CycleReport::Path::kSensorMissing);
  }
  if (*context.restart_flag) return std::nullopt;
  const std::filesystem::path work_file = context.files->WorkFile();
  if (context.canned_result && context.mode_word != "AuxOrb") {
    StringList canned(CannedResultLines());
    canned.SaveToFile(work_file);
    return std::nullopt;
  }
  const std::string command =
      RedirectedCommandLine(SensorCommand(context.companion_dir, tail.program,
                                          profile_argument, tail.address),
                            work_file.filename().string());
  const ProgramRun run = RunShellCommand(command, dir, context.should_give_up);
  if (run.abandoned) return Ended(CycleReport::Path::kGaveUp);
  if (!run.started) {
    context.files->Report(context.files->WriteFailureMarker(), view,
                          *context.log);
    ShowFailure(context, view, "Error - Processing Error occured...");
    return Ended(CycleReport::Path::kProgramFailed);
  }
  if (EnabledAt(context.actions.trace, 13)) {
    ActionContext run_context;
    run_context.run_time = run.run_time;
    dispatch.Trace(ActionKind::kRunTrace, run_context);
  }
  return std::nullopt;
}

}  // namespace

ResultCheck CheckResult(const std::vector<std::string>& lines) {
  ResultCheck check;
  for (const std::string& line : lines) {
    if (line.starts_with("* ")) check.has_processing_lines = true;
    if (line.starts_with("<Text>")) {
      check.first_text_line = " " + TextRecord(line);
      check.error_text.clear();
    }
    if (line.starts_with("<Text>Sorry, ") || line.starts_with("<Text>Error ")) {
      check.error_text = TextRecord(line);
    }
    if (line.starts_with("</Prtg>")) check.complete = true;
  }
  return check;
}

CycleReport RunCycle(CycleContext& context, OrbView& view,
                     ActionDispatch& dispatch) {
  const bool http = context.mode_word == "HttpOrb";
  context.lists->work.Clear();
  view.SetFrameColour(kYellow);
  *context.cycle_phase = kCycleWaitingForLock;
  view.SetStatusCaption("<Wait>");
  context.values->colour_at_cycle_start = context.items->colour();

  SourceLock lock(*context.files, context.lock_name, *context.log, view,
                  *context.busy_flag);
  switch (lock.Take()) {
    case SourceLock::Outcome::kNotWritable:
      *context.cycle_phase = kCycleIdle;
      return Ended(CycleReport::Path::kLockNotWritable, kRetry);
    case SourceLock::Outcome::kEndOfProcessing:
      return Ended(CycleReport::Path::kEndOfProcessing);
    case SourceLock::Outcome::kOrbClosing:
      *context.cycle_phase = kCycleIdle;
      return Ended(CycleReport::Path::kOrbClosing);
    case SourceLock::Outcome::kTaken:
      break;
  }
  *context.cycle_phase = kCycleAcquiring;

  if (!*context.restart_flag) RemoveFile(context.files->WorkFile());
  view.SetFrameColour(kMaroon);
  view.SetStatusCaption("<RFC>");
  view.SetBusyCursor(true);
  const auto acquisition_start = std::chrono::steady_clock::now();
  context.lists->work.Clear();

  bool fresh_rows = false;
  if (http) {
    view.SetStatusCaption("<URL>");
    if (context.http_acquisition) {
      fresh_rows = context.http_acquisition(lock).fresh_rows;
    }
  } else if (auto ended = RunSensor(context, view, lock, dispatch)) {
    view.SetBusyCursor(false);
    return *ended;
  }

  context.values->acquisition_time = std::chrono::duration_cast<milliseconds>(
      std::chrono::steady_clock::now() - acquisition_start);
  lock.Release();
  view.SetBusyCursor(false);
  *context.busy_flag = kBusyIdle;
  if (const auto idle =
          IdleColour(TwoDigitField(context.record, 35).value_or(-1))) {
    view.SetFrameColour(*idle);
  }

  // Result check.
  auto result = ReadLines(context.files->WorkFile());
  if (!result) {
    *context.cycle_phase = kCycleIdle;
    view.SetFrameColour(kRed);
    return Ended(CycleReport::Path::kNoWorkFile, DelayOf(context));
  }
  std::vector<std::string> message = std::move(*result);
  CycleReport report;
  const ResultCheck check = CheckResult(message);
  report.show_view_logging = check.has_processing_lines;
  report.first_text_line = check.first_text_line;
  std::string error_text = check.error_text;
  if (http) {
    const auto& progress = context.lists->wrky.lines();
    message.insert(message.end(), progress.begin(), progress.end());
  }
  if (!check.complete) {
    error_text =
        std::string("No Data from ") + (http ? "PRTG" : "RFC") + " found...";
    context.log->Log("Fail", error_text);
  }
  if (http && (!fresh_rows || context.items->empty())) {
    error_text = "No Data from PRTG found...";
    context.log->Log("Fail", error_text);
  }

  if (!error_text.empty()) {
    view.ShowErrorPanel(error_text);
    view.SetStatusCaption("<Susp>");
    context.items->set_colour(kSilver);
    AnnounceState(state_code::kNoData, context.actions, *context.values,
                  dispatch);
    report.path = CycleReport::Path::kNoData;
    report.no_data_message = error_text;
    report.state_code = state_code::kNoData;
    if (!http) report.rearm = DelayOf(context);
    *context.cycle_phase = kCycleIdle;
    return report;
  }

  view.HideErrorPanel();
  *context.processing = ReadProcessingStates(message);
  if (!http) {
    const ResultReading reading =
        ReadResult(message, ResultReaderSettingsFor(context.record),
                   *context.items, context.lists->work);
    if (reading.chart_unit) *context.chart_unit = *reading.chart_unit;
  }
  const char sorting = RecordFlag(context.record, 50);
  if (context.sort_state && sorting != '0' && FaceMode(context.record) != '1') {
    ApplySortingSetting(*context.items, sorting, *context.sort_state);
  }
  report.last_update = "<" + Mid(TimeText(WallClock::now()), 1, 5) + ">";
  view.SetStatusCaption("");

  RuleInputs inputs;
  inputs.record = context.record;
  inputs.rules = context.rules;
  inputs.actions = context.actions;
  inputs.zoomed = context.zoomed;
  inputs.today = DateText(WallClock::now());
  report.rules = EvaluateRules(inputs, *context.items, *context.values,
                               *context.log, dispatch);
  if (report.rules.action_context) {
    dispatch.SetActionContext(*report.rules.action_context);
  }

  const Rgb orb_colour = report.rules.orb_colour;
  const int state = orb_colour == kRed      ? state_code::kRed
                    : orb_colour == kYellow ? state_code::kYellow
                                            : state_code::kGreen;
  report.state_code = state;
  if (state != context.values->state_code) {
    report.state_changed = true;
    AnnounceState(state, context.actions, *context.values, dispatch);
  }
  context.files->Report(context.files->UpdateMarkers(orb_colour), view,
                        *context.log);
  *context.restart_flag = false;
  *context.cycle_phase = kCycleIdle;
  report.path = CycleReport::Path::kGood;
  if (!context.canned_result) report.rearm = DelayOf(context);
  return report;
}

}  // namespace vigil
