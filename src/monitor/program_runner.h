// Runs the sensor program of a cycle through the shell, its output
// redirected into the work file, and waits for its end.
#ifndef VIGIL_MONITOR_PROGRAM_RUNNER_H_
#define VIGIL_MONITOR_PROGRAM_RUNNER_H_

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vigil {

// The sensor command of a cycle: the program in the companion directory,
// the profile argument and the address argument, trimmed.
std::string SensorCommand(const std::string& companion_dir,
                          const std::string& program,
                          const std::string& profile_argument,
                          const std::string& address);

// The command line the shell runs: command + " > " + work file.
std::string RedirectedCommandLine(const std::string& command,
                                  const std::string& work_file);

// The fifteen lines written instead of running a sensor.
const std::vector<std::string>& CannedResultLines();

struct ProgramRun {
  bool started = false;
  // Set when the wait was given up because the orb is being ended; the
  // program's process group has been killed.
  bool abandoned = false;
  int exit_status = 0;
  std::chrono::milliseconds run_time{0};
};

// What a sensor may write: a program that floods its output gets SIGXFSZ
// there, and the orb reads a result without its end, not gigabytes.
inline constexpr long long kWorkFileLimit = 16LL * 1024 * 1024;

// Starts /bin/sh -c command_line in working_dir in a process group of its
// own and waits for its end, without a time limit; the files it writes are
// held to kWorkFileLimit. should_give_up is asked while waiting so that a
// request to end the orb is not blocked by a sensor that never ends.
ProgramRun RunShellCommand(const std::string& command_line,
                           const std::filesystem::path& working_dir,
                           const std::function<bool()>& should_give_up = {});

}  // namespace vigil

#endif  // VIGIL_MONITOR_PROGRAM_RUNNER_H_
