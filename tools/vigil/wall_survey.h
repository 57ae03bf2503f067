// How each orb of a wall stands: its process, the state marker it left and
// its last event, from the files the orbs and vigil keep and from /proc.
#ifndef VIGIL_TOOLS_VIGIL_WALL_SURVEY_H_
#define VIGIL_TOOLS_VIGIL_WALL_SURVEY_H_

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "vigil/launcher_files.h"
#include "vigil/launcher_process.h"
#include "vigil/wall_orbs.h"

namespace vigil::cli {

enum class ProcessState {
  kRunning,
  kStopped,  // not running, and nothing says it should be
  kEnded,    // vigil started it and it ended through its own clean-up
  kCrashed,  // it ended without its clean-up: killed, or a crash
  // Its files say it runs and an orb process of its mode may be it, under
  // the number it was started with before a drag; vigil leaves it alone.
  kUnknown,
};

std::string_view ProcessStateName(ProcessState state);

// What the files say about one orb that is not seen running.
struct EndEvidence {
  bool pid_file = false;
  bool profile_left = false;    // the attached profile
  bool work_file_left = false;  // removed by every normal end
  bool stop_logged_since_start = false;
  // Its start-up failed: the orb says why and ends through its clean-up.
  bool fail_logged_since_start = false;
};

// An orb that ended normally removed its attached profile and work file
// and logged "Stop" or, at its start-up, "Fail"; one that was killed did
// neither.
ProcessState ClassifyEnd(const EndEvidence& evidence);

struct OrbCondition {
  WallOrb orb;
  ProcessState process = ProcessState::kStopped;
  pid_t pid = 0;           // when running
  std::string moved_from;  // the number a dragged orb was started with
  // green, yellow, red, failed or none; "starting" while it has said
  // nothing since its start; "-" when it does not run.
  std::string marker;
  std::string last_event;  // its newest event-log line since its start
  std::string lock_wait;   // "waiting for lock ..." while it waits
  EndEvidence evidence;
};

// Every orb of the wall at once, so that an orb dragged to another cell
// is paired with its process by elimination; in the order of orbs.
std::vector<OrbCondition> SurveyWall(const std::filesystem::path& dir,
                                     const std::vector<WallOrb>& orbs,
                                     const LauncherFiles& launcher);

// By orb number, then mode.
void SortByNumber(std::vector<OrbCondition>& conditions);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_WALL_SURVEY_H_
