// One monitoring cycle of an orb: wait for the source's lock, acquire,
// read the result, evaluate the rules, publish the state. The window's
// cycle timer runs it; what the window must do afterwards comes back as a
// report, so that every branch runs without a screen.
#ifndef VIGIL_MONITOR_MONITORING_CYCLE_H_
#define VIGIL_MONITOR_MONITORING_CYCLE_H_

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "actions/action_dispatch.h"
#include "monitor/orb_state.h"
#include "monitor/result_format.h"
#include "monitor/result_reader.h"
#include "monitor/rule_evaluation.h"
#include "store/companion_files.h"
#include "store/event_log.h"
#include "store/orb_view.h"

namespace vigil {

class SourceLock;

// What the HttpOrb acquisition (query the server, fill the table, write
// the table as a result text into the work file) reports to the cycle.
struct HttpOutcome {
  bool fresh_rows = false;       // false: the no-data path, waiting for Resume
  bool requests_failed = false;  // a request failed, rows or not
};

// The status caption of an unattended HttpOrb orb whose requests fail.
inline constexpr std::string_view kFailCaption = "<Fail>";

// What an orb shows for a result without its end, or for an HttpOrb orb
// without rows: "No Data from RFC found..." ("PRTG" in the HttpOrb mode).
std::string NoDataFoundText(bool http);

// A "Fail" line; an unattended orb writes one per run of failures, which
// a cycle with every request answered ends.
void LogFailure(OrbState& state, EventLog& log, const std::string& text);
// The same for whoever keeps the unattended switch and the flag apart.
void LogFailure(bool unattended, bool& failure_logged, EventLog& log,
                const std::string& text);

// A result's rows into the item table and its text records into the work
// list; an HttpOrb orb's rows come from the server's answers instead. The
// unit the result names for the chart, when it names one.
std::optional<std::string> ReadResultRows(OrbState& state,
                                          const std::vector<std::string>& lines,
                                          const ResultFormat& format);
// The record's sorting (column 50) on the item table, unless none is set
// or the face mode is "1".
void ApplyRecordSorting(OrbState& state);
// Runs while the lock is held; it may remove the lock on a failure.
using HttpAcquisition = std::function<HttpOutcome(SourceLock& lock)>;

// What the window does after the cycle returned.
// The face's values that the cycle reads and the one it writes, where the
// face keeps them; unset, the flags read false and the unit is dropped.
struct FaceLink {
  const bool* zoomed = nullptr;         // rules that zoom see the zoom
  const bool* canned_result = nullptr;  // replaces the sensor run
  std::string* chart_unit = nullptr;    // the unit a result names
};

struct CycleReport {
  enum class Path {
    kLockNotWritable,  // "<Lck>", again after 1000 ms
    kEndOfProcessing,  // stop the timers, announce 6, close the orb
    kOrbClosing,       // the window closed during the lock wait
    kProfileFailed,    // "<Prf>", again after 1000 ms
    kSensorMissing,    // error shown; the error timer closes the orb
    kProgramFailed,    // the shell could not start: error shown, closes
    kGaveUp,           // the orb is ending while a sensor ran
    kNoWorkFile,       // red frame, again after the delay
    kNoData,           // error panel, state 4
    kGood,
    kNotStarted,  // a cycle was running already: nothing happened
  };
  Path path = Path::kGood;
  // nullopt: the cycle timer stays off.
  std::optional<std::chrono::milliseconds> rearm;
  bool show_view_logging = false;  // the result had "* " lines
  std::string no_data_message;
  std::string last_update;  // xCap02 after a good cycle
  RuleOutcome rules;
  int state_code = 0;
  bool state_changed = false;
};

class MonitoringCycle final {
 public:
  // All four belong to the orb's session and outlive the cycle.
  MonitoringCycle(OrbState& state, CompanionFiles& files, EventLog& log,
                  ActionDispatch& dispatch)
      : state_(state), files_(files), log_(log), dispatch_(dispatch) {}

  void set_face_link(FaceLink link) { face_ = link; }
  void set_http_acquisition(HttpAcquisition acquisition) {
    http_acquisition_ = std::move(acquisition);
  }
  // Asked while a sensor runs, with how long it has run: true gives up the
  // wait (the orb is ending).
  using GiveUpTest = std::function<bool(std::chrono::milliseconds running)>;
  void set_should_give_up(GiveUpTest should_give_up) {
    should_give_up_ = std::move(should_give_up);
  }

  // True between the start of a cycle and its end, the lock wait and the
  // message boxes of the acquisition included.
  bool running() const { return state_.cycle_phase != CyclePhase::kIdle; }

  // Runs one cycle, unless one is running already (a timer tick or a
  // command that arrived while events ran): then kNotStarted.
  CycleReport Run(OrbView& view);

 private:
  using Step = std::optional<CycleReport>;
  Step TakeLock(SourceLock& lock, OrbView& view);
  Step AcquireBySensor(SourceLock& lock, OrbView& view, bool restarted);
  Step RefreshAttachedProfile(SourceLock& lock, OrbView& view);
  Step RunSensor(SourceLock& lock, OrbView& view);
  HttpOutcome AcquireFromPrtg(SourceLock& lock, OrbView& view);
  void EndAcquisition(SourceLock& lock, OrbView& view,
                      std::chrono::steady_clock::time_point started);
  CycleReport CheckTheResult(OrbView& view, const HttpOutcome& acquired);
  CycleReport NoData(OrbView& view, CycleReport report,
                     const std::string& error_text);
  CycleReport EvaluateAndPublish(OrbView& view, CycleReport report,
                                 const std::vector<std::string>& message,
                                 const ResultFormat& format);
  void ShowFailure(OrbView& view, const std::string& message);
  void LogErrorReport(const std::string& text);
  std::chrono::milliseconds Delay() const;
  bool CannedResult() const;

  OrbState& state_;
  CompanionFiles& files_;
  EventLog& log_;
  ActionDispatch& dispatch_;
  HttpAcquisition http_acquisition_;
  GiveUpTest should_give_up_;
  FaceLink face_;
};

}  // namespace vigil

#endif  // VIGIL_MONITOR_MONITORING_CYCLE_H_
