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
#include "face/item_sorting.h"
#include "monitor/item_table.h"
#include "monitor/orb_values.h"
#include "monitor/program_runner.h"
#include "monitor/rule_evaluation.h"
#include "monitor/string_list.h"
#include "shell/orb_view.h"
#include "store/companion_files.h"
#include "store/event_log.h"
#include "store/orbs_file.h"

namespace vigil {

// The cycle phase: the end-of-processing watch acts only when idle.
inline constexpr int kCycleIdle = 0;
inline constexpr int kCycleAcquiring = 1;
inline constexpr int kCycleWaitingForLock = 2;

class SourceLock;

// What the HttpOrb acquisition (query the server, fill the table, write
// the table as a result text into the work file) reports to the cycle.
struct HttpOutcome {
  bool fresh_rows = false;  // false: the no-data path, waiting for Resume
};
// Runs while the lock is held; it may remove the lock on a failure.
using HttpAcquisition = std::function<HttpOutcome(SourceLock& lock)>;

// The orb state a cycle reads and changes; all owned by the orb.
struct CycleContext {
  std::string mode_word;
  std::string companion_dir;
  std::string record;
  HeaderSettings header;
  ActionSettings actions;
  std::vector<std::string> rules;
  std::string lock_name;
  std::string source_path;  // relative to the working directory
  int delay_time = 60;      // seconds
  bool canned_result = false;
  bool zoomed = false;

  CompanionFiles* files = nullptr;
  EventLog* log = nullptr;
  ItemTable* items = nullptr;
  ProcessingTable* processing = nullptr;
  OrbLists* lists = nullptr;
  OrbValues* values = nullptr;
  int* busy_flag = nullptr;
  int* cycle_phase = nullptr;
  bool* restart_flag = nullptr;
  std::string* chart_unit = nullptr;
  SortState* sort_state = nullptr;
  HttpAcquisition http_acquisition;
  // Asked while a sensor runs: true gives up the wait (the orb is ending).
  std::function<bool()> should_give_up;
};

// What the window does after the cycle returned.
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
  };
  Path path = Path::kGood;
  // nullopt: the cycle timer stays off.
  std::optional<std::chrono::milliseconds> rearm;
  bool show_view_logging = false;  // the result had "* " lines
  std::string first_text_line;     // Editxx
  std::string no_data_message;
  std::string last_update;  // xCap02 after a good cycle
  RuleOutcome rules;
  int state_code = 0;
  bool state_changed = false;
};

// Runs one cycle. The window stopped the cycle timer and showed a hidden
// orb before; it applies the report afterwards.
CycleReport RunCycle(CycleContext& context, OrbView& view,
                     ActionDispatch& dispatch);

// The result check: "</Prtg>" present, and the last text line not an
// error ("<Text>Sorry, " or "<Text>Error ").
struct ResultCheck {
  bool complete = false;
  bool has_processing_lines = false;
  std::string first_text_line;
  std::string error_text;
};
ResultCheck CheckResult(const std::vector<std::string>& lines);

}  // namespace vigil

#endif  // VIGIL_MONITOR_MONITORING_CYCLE_H_
