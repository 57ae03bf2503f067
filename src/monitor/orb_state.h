// One orb's state from start-up to its end, in one place: what the orbs
// file gave, the cycle's flags and the values and tables the cycles fill.
// The session owns it beside the face's model; the cycle and the commands
// change it; the window reads it and binds it to widgets.
#ifndef VIGIL_MONITOR_ORB_STATE_H_
#define VIGIL_MONITOR_ORB_STATE_H_

#include <array>
#include <string>
#include <vector>

#include "monitor/item_sorting.h"
#include "monitor/item_table.h"
#include "monitor/string_list.h"
#include "store/busy_flag.h"
#include "store/orb_mode.h"
#include "store/orb_values.h"
#include "store/orbs_file.h"

namespace vigil {

// The end-of-processing watch acts only when idle; dragging is refused
// while acquiring.
enum class CyclePhase { kIdle = 0, kAcquiring = 1, kWaitingForLock = 2 };

struct OrbState {
  // From the command line.
  std::string mode_word;
  std::string companion_dir;

  // From the orbs file; commands edit the configuration and save it.
  HeaderSettings header;
  CellSize cell;
  OrbConfiguration config;
  std::array<std::string, 4> captions;  // the "@" line
  std::vector<std::string> item_names;  // the "*" lines
  // The size in cells as the last relayout found it; a save stores it.
  std::string grid_size_text;
  // Derived from the record at start-up.
  std::string lock_name;
  std::string source_path;  // relative to the working directory
  int delay_time = 60;      // seconds

  // The cycle's flags.
  BusyFlag busy_flag = BusyFlag::kIdle;
  CyclePhase cycle_phase = CyclePhase::kIdle;
  bool restart_flag = false;  // the first cycle reads the work file left
  // Unattended: this run of failures has had its one "Fail" line.
  bool failure_logged = false;
  // The sensor's error report that has its "Fail" line; empty after a
  // good cycle.
  std::string logged_error_report;

  // What the cycles fill.
  OrbValues values;
  ItemTable items;
  ProcessingTable processing;
  std::string first_text_line;  // Editxx, over the processing table
  StagingTable staging;
  OrbLists lists;
  SortState sort_state;

  const ConfigRecord& record() const { return config.record; }
  bool http() const { return OrbModeOf(mode_word).http; }
  // An HttpOrb orb on a wall nobody watches (the header's column 21).
  bool unattended() const { return http() && header.unattended; }
};

}  // namespace vigil

#endif  // VIGIL_MONITOR_ORB_STATE_H_
