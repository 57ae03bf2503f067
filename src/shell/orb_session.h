// One orb from the first showing of its window to its end: its state, the
// start-up and instance identity, the cycle with its acquisition and
// actions, the save of its configuration and the clean-up of its files.
// The window owns one session, forwards its timers and commands to it and
// shows what it holds.
#ifndef VIGIL_SHELL_ORB_SESSION_H_
#define VIGIL_SHELL_ORB_SESSION_H_

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "actions/action_dispatch.h"
#include "face/face_model.h"
#include "monitor/monitoring_cycle.h"
#include "monitor/orb_state.h"
#include "prtg/prtg_client.h"
#include "settings/altered_settings.h"
#include "shell/command_line.h"
#include "shell/grid_area.h"
#include "shell/grid_placement.h"
#include "store/companion_files.h"
#include "store/event_log.h"
#include "store/orb_view.h"
#include "store/orbs_file.h"

namespace vigil {

inline constexpr char kVersionText[] = " 3.3 / 06.05.15";

// Where the start-up stands: the first timer tick prepares, the next one
// starts the orb; the numbers are the timer's tags.
enum class StartupStage {
  kStartupPending = 0,
  kStarted = 1,
  kPreparationPending = 2
};

// Everything the window shows or sizes after a successful start-up.
struct StartedOrb {
  WindowRect window;
  std::string title;    // chart title and title label
  std::string caption;  // xCap01
};

class OrbSession final {
 public:
  OrbSession(std::string mode_word, const CommandLine& command_line,
             std::filesystem::path working_dir, std::string computer_name);
  OrbSession(const OrbSession&) = delete;
  OrbSession& operator=(const OrbSession&) = delete;

  // Timer1, stage 2: the gauge and image catalogues.
  void Prepare();
  // Timer1, stage 0. Shows and logs the first failing check and returns
  // nullopt; the orb then ends through its error timer. The view stays the
  // actions' view until the orb ends.
  // The monitors are the desktop's now; the header chooses among them.
  std::optional<StartedOrb> StartUp(
      OrbView& view, const std::vector<DesktopMonitor>& monitors);
  // The grid placed anew after a monitor came, went or changed; true when
  // its area moved, and with it the cell size and the orb's home.
  bool FollowMonitors(const std::vector<DesktopMonitor>& monitors);

  // One monitoring cycle; kNotStarted while one runs already.
  CycleReport RunCycle(OrbView& view) { return cycle_.Run(view); }
  bool cycle_running() const { return cycle_.running(); }

  // Save: rewrites the orb's lines from the state, with the grid-size
  // text copied into the record. With a move note the lines, the attached
  // profile and every file name move to the new number; the old markers go.
  // A save that fails shows why on the error panel, logs "Fail" and keeps
  // the state as it is.
  SaveOutcome Save(OrbView& view, const std::optional<MoveNote>& move_note);
  // A move to another free grid cell; kTargetTaken, with nothing changed,
  // when any line of the orbs file has that number (a sibling may have
  // taken it a moment ago). The orb's own number changes nothing.
  SaveOutcome MoveTo(OrbView& view, const std::string& target_number);

  // The settings dialog's values written into the record, with the cycle
  // delay they give; the caller saves and restarts the cycle timer.
  AlterOutcome AlterSettings(const AlteredSettings& settings);
  // The item table rebuilt from the last result in the work file, sorted
  // as the record says, for a chart that is built anew.
  void ReloadLastResult();

  // Error display: the panel, the error timer, and a "Fail" line.
  void ReportFailure(OrbView& view, const std::string& message,
                     bool must_acknowledge);

  // The two halves of the clean-up when the window closes and when the
  // program ends. A refused duplicate removes nothing.
  void CloseCleanUp();
  void DestroyCleanUp();

  OrbState& state() { return state_; }
  FaceModel& face_model() { return face_model_; }
  const FaceModel& face_model() const { return face_model_; }
  const OrbState& state() const { return state_; }
  const ConfigRecord& record() const { return state_.record(); }
  const std::string& mode_word() const { return state_.mode_word; }
  const std::string& orb_number() const { return orb_number_; }
  const std::string& version_text() const { return version_text_; }
  const std::string& window_caption() const { return window_caption_; }
  StartupStage startup_stage() const { return startup_stage_; }
  void set_startup_stage(StartupStage stage) { startup_stage_ = stage; }
  bool acknowledge_mark() const { return acknowledge_mark_; }
  const std::string& computer_name() const { return computer_name_; }
  const std::filesystem::path& working_dir() const { return working_dir_; }
  const std::vector<std::string>& gauge_choices() const {
    return gauge_choices_;
  }
  const std::vector<std::string>& image_choices() const {
    return image_choices_;
  }
  // The settings dialog's item choice: the fixed entries, then the "*"
  // lines' names.
  std::vector<std::string> item_choices() const;
  // The orb's cells in desktop coordinates, and the grid's area.
  const WindowRect& home() const { return home_; }
  const WindowRect& grid_area() const { return grid_area_; }
  EventLog& event_log() { return event_log_; }
  CompanionFiles& files() { return files_; }
  ActionDispatch& dispatch() { return dispatch_; }

 private:
  std::filesystem::path InWorkingDir(const std::string& name) const;
  std::filesystem::path OrbsFile() const;
  std::optional<std::string> CheckLibrariesAndFiles() const;
  bool ReadOrbsFile(OrbView& view, const std::vector<DesktopMonitor>& monitors);
  void PlaceGrid(const std::vector<DesktopMonitor>& monitors);
  WindowRect HomeOfRecord() const;
  void TakeConfiguration(OrbLines lines);
  bool TakeInstance(OrbView& view);
  bool WriteAttachedProfile(OrbView& view);
  std::optional<StartedOrb> Place(OrbView& view);
  std::optional<std::string> PlacementProblem() const;
  void ConnectCycle(OrbView& view);
  void ConfigureActions(OrbView& view);
  void SetLogContext();
  void ReportSaveFailure(OrbView& view, SaveOutcome outcome);
  void MoveOrbFiles(const MoveNote& move_note);

  OrbState state_;
  FaceModel face_model_;

  // Start-up state.
  std::filesystem::path working_dir_;
  std::string computer_name_;
  std::string orb_number_;
  double carried_over_value_ = 0;
  std::string last_reset_date_ = "xx.xx.xx";
  std::string version_text_;
  std::string window_caption_;
  StartupStage startup_stage_ = StartupStage::kPreparationPending;
  bool acknowledge_mark_ = false;
  bool instance_taken_ = false;  // this orb created its attached profile

  std::vector<std::string> gauge_choices_;
  std::vector<std::string> image_choices_;
  WindowRect home_;
  WindowRect grid_area_;
  std::string missing_monitor_;  // the last "no such monitor" logged
  EventLog event_log_;
  CompanionFiles files_;
  ActionDispatch dispatch_;
  PrtgClient prtg_client_;
  MonitoringCycle cycle_;
};

}  // namespace vigil

#endif  // VIGIL_SHELL_ORB_SESSION_H_
