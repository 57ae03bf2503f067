// Whether the orbs vigil has just started pass their start-up: an orb
// reads its record and takes its cell within seconds, or says in the event
// log why it cannot and ends, or waits for a click on its error panel.
#ifndef VIGIL_TOOLS_VIGIL_WALL_STARTUP_H_
#define VIGIL_TOOLS_VIGIL_WALL_STARTUP_H_

#include <sys/types.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "vigil/wall_orbs.h"

namespace vigil::cli {

struct LaunchedOrb {
  WallOrb orb;
  pid_t pid = 0;
  std::time_t start = 0;  // taken just before the launch
  std::string note;       // what to say once it runs
};

enum class StartUp {
  kPassed,  // its attached profile is there and it has said nothing wrong
  kFailed,  // it logged "Fail" and runs on, showing why
  kEnded,
  kPending,  // none of these within the time given
};

struct StartUpOutcome {
  StartUp result = StartUp::kPending;
  std::string reason;  // the message of its "Fail" line, empty for none
};

// Looks at the orbs until each has passed its start-up, failed it or
// ended, or the limit is over; in the order of orbs. An orb that failed
// before it read its record logs no number: its mode's newest such line
// is taken for its reason once it has ended, or at the limit.
std::vector<StartUpOutcome> AwaitStartUps(const std::filesystem::path& dir,
                                          const std::vector<LaunchedOrb>& orbs,
                                          std::chrono::milliseconds limit);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_WALL_STARTUP_H_
