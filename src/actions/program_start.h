// Starting the programs of exec actions: waited for, or detached.
#ifndef VIGIL_ACTIONS_PROGRAM_START_H_
#define VIGIL_ACTIONS_PROGRAM_START_H_

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace vigil {

struct ProgramEnd {
  bool started = false;
  // The wait was given up because the orb is ending; the program runs on.
  bool abandoned = false;
  int exit_status = 0;
};

// What happens to a program whose wait is given up: an exec action's
// program runs on; a sensor run is killed with everything it started.
enum class GiveUp { kLeaveRunning, kKillProcessGroup };

// Starts argv[0] (looked up on PATH when it holds no "/") with the orb's
// environment in working_dir and waits for its end, without a time limit.
// should_give_up is asked while waiting, so that an orb asked to end is not
// held by a program that never ends.
ProgramEnd StartAndWait(const std::vector<std::string>& argv,
                        const std::filesystem::path& working_dir,
                        const std::function<bool()>& should_give_up = {},
                        GiveUp give_up = GiveUp::kLeaveRunning);

// Starts argv in working_dir in a session of its own and returns at once;
// the program is not a child of the orb, so nothing is left to reap. False
// when it could not be handed over at all.
bool StartDetached(const std::vector<std::string>& argv,
                   const std::filesystem::path& working_dir);

// True when the program would be run rather than opened: an executable
// regular file, by its path (relative to working_dir) or on PATH.
bool IsExecutableProgram(const std::string& program,
                         const std::filesystem::path& working_dir);

}  // namespace vigil

#endif  // VIGIL_ACTIONS_PROGRAM_START_H_
