// The orb processes of a working directory: started detached as a launcher
// starts them, and recognised again through /proc.
#ifndef VIGIL_TOOLS_VIGIL_LAUNCHER_PROCESS_H_
#define VIGIL_TOOLS_VIGIL_LAUNCHER_PROCESS_H_

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/result.h"

namespace vigil::cli {

struct OrbProcess {
  pid_t pid = 0;
  std::string mode_word;
  // As on its command line: an orb dragged to another cell keeps it.
  std::string number;
};

// The orb a live process of this working directory is, from its command
// line and current directory; nullopt for a process that is gone, a zombie,
// another program or an orb of another directory or user.
std::optional<OrbProcess> InspectOrbProcess(
    pid_t pid, const std::filesystem::path& working_dir);

// Every orb process of this working directory, whoever started it.
std::vector<OrbProcess> ScanOrbProcesses(
    const std::filesystem::path& working_dir);

// The start of a process in clock ticks since boot: field 22 of the text
// of /proc/PID/stat, counted after the command name, which may hold
// blanks and parentheses. nullopt for a zombie or another text.
std::optional<long long> StartTicksOfStat(std::string_view stat);

// Seconds since the process started, from /proc; nullopt for one that is
// gone or a zombie.
std::optional<double> ProcessAge(pid_t pid);

// The processes the process started and has not lost, from the children
// files of all its threads.
std::vector<pid_t> ChildProcesses(pid_t pid);

struct LaunchRequest {
  std::filesystem::path executable;
  std::vector<std::string> arguments;  // after the program name
  std::filesystem::path working_dir;
  std::filesystem::path output_file;  // stdout and stderr, appended
};

// Starts the program in a session of its own, with stdin from /dev/null,
// and does not wait for it: it outlives vigil and is never its zombie.
// The orb's pid, or why it could not be started.
Result<pid_t> LaunchDetached(const LaunchRequest& request);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_LAUNCHER_PROCESS_H_
