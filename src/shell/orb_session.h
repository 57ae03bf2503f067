// The state of one orb from the first showing of its window to its end:
// start-up, instance identity and the clean-up of its files. The window
// owns one session and applies what it computes.
#ifndef VIGIL_SHELL_ORB_SESSION_H_
#define VIGIL_SHELL_ORB_SESSION_H_

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "face/item_sorting.h"
#include "monitor/item_table.h"
#include "monitor/orb_values.h"
#include "monitor/string_list.h"
#include "shell/command_line.h"
#include "shell/orb_view.h"
#include "store/busy_flag.h"
#include "store/companion_files.h"
#include "store/event_log.h"
#include "store/orbs_file.h"

namespace vigil {

inline constexpr char kVersionText[] = " 3.3 / 06.05.15";

// The tag of Timer1.
enum class StartupStage {
  kStartupPending = 0,
  kStarted = 1,
  kPreparationPending = 2
};

struct WindowRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

struct ScreenInfo {
  int width = 1920;
  int height = 1080;
};

// Everything the window shows or sizes after a successful start-up.
struct StartedOrb {
  WindowRect window;
  std::string title;     // chart title and title label
  std::string caption;   // xCap01
  char face_mode = '0';  // column 17
  bool chart_title_visible = false;
};

class OrbSession {
 public:
  OrbSession(std::string mode_word, const CommandLine& command_line,
             std::filesystem::path working_dir, std::string computer_name);

  // Timer1, stage 2: the gauge and image catalogues.
  void Prepare();
  // Timer1, stage 0. Shows and logs the first failing check and returns
  // nullopt; the orb then ends through its error timer.
  std::optional<StartedOrb> StartUp(OrbView& view, const ScreenInfo& screen);

  // Error display: the panel, the error timer, and a "Fail" line.
  void ReportFailure(OrbView& view, const std::string& message,
                     bool must_acknowledge);

  // The two halves of the clean-up when the window closes and when the
  // program ends. A refused duplicate removes nothing.
  void CloseCleanUp();
  void DestroyCleanUp();

  const std::string& mode_word() const { return mode_word_; }
  char number_format() const { return values_.number_format; }
  const std::string& orb_number() const { return orb_number_; }
  const std::string& version_text() const { return version_text_; }
  const std::string& window_caption() const { return window_caption_; }
  StartupStage startup_stage() const { return startup_stage_; }
  void set_startup_stage(StartupStage stage) { startup_stage_ = stage; }
  int busy_flag() const { return busy_flag_; }
  void set_busy_flag(int flag) { busy_flag_ = flag; }
  int cycle_phase() const { return cycle_phase_; }
  bool acknowledge_mark() const { return acknowledge_mark_; }
  bool restart_flag() const { return restart_flag_; }
  double carried_over_value() const { return carried_over_value_; }
  const std::string& last_reset_date() const { return last_reset_date_; }
  const std::string& computer_name() const { return computer_name_; }
  const std::string& companion_dir() const { return companion_dir_; }
  const std::filesystem::path& working_dir() const { return working_dir_; }

  const HeaderSettings& header() const { return header_; }
  const OrbLines& orb_lines() const { return orb_lines_; }
  const std::string& record() const { return record_; }
  const std::string& grid_size_text() const { return grid_size_text_; }
  // The relayout recomputes it after every size change; a save stores it.
  void set_grid_size_text(std::string text) {
    grid_size_text_ = std::move(text);
  }
  const CellSize& cell() const { return cell_; }
  const std::string& lock_name() const { return lock_name_; }
  const std::string& source_path() const { return source_path_; }
  const std::vector<std::string>& gauge_choices() const {
    return gauge_choices_;
  }
  const std::vector<std::string>& image_choices() const {
    return image_choices_;
  }
  // The settings dialog's item choice: the fixed entries, then the "*"
  // lines' names.
  std::vector<std::string> item_choices() const;
  const WindowRect& home() const { return home_; }
  EventLog& event_log() { return event_log_; }
  CompanionFiles& files() { return files_; }
  ItemTable& items() { return items_; }
  ProcessingTable& processing() { return processing_; }
  OrbLists& lists() { return lists_; }
  OrbValues& values() { return values_; }
  int& busy_flag_ref() { return busy_flag_; }
  int& cycle_phase_ref() { return cycle_phase_; }
  bool& restart_flag_ref() { return restart_flag_; }
  SortState& sort_state() { return sort_state_; }
  StagingTable& staging() { return staging_; }
  int delay_time() const { return delay_time_; }

 private:
  std::filesystem::path InWorkingDir(const std::string& name) const;
  std::optional<std::string> CheckLibrariesAndFiles() const;
  bool ReadOrbsFile(OrbView& view, const ScreenInfo& screen);
  bool TakeInstance(OrbView& view);
  bool WriteAttachedProfile(OrbView& view);
  std::optional<StartedOrb> Place(OrbView& view);
  std::string RowSlashColumn() const;

  // Start-up state.
  std::string mode_word_;
  std::filesystem::path working_dir_;
  std::string computer_name_;
  std::string companion_dir_;
  std::string orb_number_;
  bool restart_flag_ = false;
  double carried_over_value_ = 0;
  std::string last_reset_date_ = "xx.xx.xx";
  int delay_time_ = 60;
  std::string version_text_;
  std::string window_caption_;
  StartupStage startup_stage_ = StartupStage::kPreparationPending;
  int busy_flag_ = kBusyIdle;
  int cycle_phase_ = 0;
  bool acknowledge_mark_ = false;

  // What the orbs file gave.
  HeaderSettings header_;
  CellSize cell_;
  OrbLines orb_lines_;
  std::string record_;
  std::string grid_size_text_;
  std::string lock_name_;
  std::string source_path_;

  bool instance_taken_ = false;  // this orb created its attached profile

  std::vector<std::string> gauge_choices_;
  std::vector<std::string> image_choices_;
  WindowRect home_;
  EventLog event_log_;
  CompanionFiles files_;

  // What the cycles fill.
  ItemTable items_;
  ProcessingTable processing_;
  StagingTable staging_;
  OrbLists lists_;
  OrbValues values_;
  SortState sort_state_;
};

}  // namespace vigil

#endif  // VIGIL_SHELL_ORB_SESSION_H_
