// The words of vigil start, stop, status, restart and remove: orb numbers and
// the options that say where the wall is and how to run it.
#ifndef VIGIL_TOOLS_VIGIL_WALL_OPTIONS_H_
#define VIGIL_TOOLS_VIGIL_WALL_OPTIONS_H_

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "store/result.h"
#include "vigil/commands.h"

namespace vigil::cli {

struct WallOptions {
  std::string command;               // start, stop, status, restart or remove
  std::filesystem::path dir = ".";   // the working directory of the orbs
  std::vector<std::string> modes;    // empty: every mode with an orbs file
  std::vector<std::string> numbers;  // empty: every orb
  std::filesystem::path bin_dir;     // empty: beside vigil
  std::filesystem::path companion_dir;  // empty: the one used last, or dir
  std::chrono::seconds wait{15};        // stop: before SIGTERM
  bool force = false;             // start: also orbs whose lines have problems
  bool stop = false;              // remove: end a running orb first
  bool watch = false;             // restart: again and again
  std::chrono::seconds every{5};  // restart --watch: between passes
  bool help = false;
};

// Accepts "--name value" and "--name=value"; an option another command
// takes is an error here, so that a typo never passes silently.
Result<WallOptions> ParseWallOptions(const std::string& command,
                                     const Words& words);

std::string WallUsage(const std::string& command);

// The wall's directory resolved, as /proc tells each orb's; an error that
// names it when it is no directory.
Result<std::filesystem::path> ResolvedWallDir(const std::filesystem::path& dir);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_WALL_OPTIONS_H_
