#include "monitor/program_runner.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "store/text.h"

extern char** environ;

namespace vigil {

std::string ShellQuote(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

std::string SensorCommand(const std::string& companion_dir,
                          const std::string& program,
                          const std::string& profile_argument,
                          const std::string& address) {
  // The program path is quoted as one word; the arguments are the
  // operator's own text from the orbs file and stay as written.
  return Trim(ShellQuote(companion_dir + "/" + program) + " " +
              profile_argument + " " + address);
}

std::string RedirectedCommandLine(const std::string& command,
                                  const std::string& work_file) {
  return command + " > " + ShellQuote(work_file);
}

const std::vector<std::string>& CannedResultLines() {
  static const std::vector<std::string> kLines = {
      "<Prtg>",
      "<Text>(xxx) Sys-Informations</Text>",
      "<Result><Channel>RFC-Open Time</Channel>",
      "<Value>0344</Value>",
      "</Result>",
      "<Result><Channel>Processing Time</Channel>",
      "<Value>0078</Value>",
      "</Result>",
      "<Result><Channel>RFC-Close Time</Channel>",
      "<Value>0016</Value>",
      "</Result>",
      "<Result><Channel>Response Time</Channel>",
      "<Value>0438</Value>",
      "</Result>",
      "</Prtg>",
  };
  return kLines;
}

ProgramRun RunShellCommand(const std::string& command_line,
                           const std::filesystem::path& working_dir,
                           const std::function<bool()>& should_give_up) {
  ProgramRun run;
  const auto start = std::chrono::steady_clock::now();
  std::string shell = "/bin/sh";
  std::string flag = "-c";
  std::string command = command_line;
  char* argv[] = {shell.data(), flag.data(), command.data(), nullptr};

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, working_dir.c_str());
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  pid_t pid = -1;
  const int error =
      posix_spawn(&pid, shell.c_str(), &actions, &attributes, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (error != 0) return run;
  run.started = true;

  int status = 0;
  for (;;) {
    const pid_t done = waitpid(pid, &status, should_give_up ? WNOHANG : 0);
    if (done == pid) break;
    if (done < 0 && errno != EINTR) break;
    if (should_give_up && should_give_up()) {
      ::kill(-pid, SIGKILL);
      waitpid(pid, &status, 0);
      run.abandoned = true;
      break;
    }
    if (should_give_up) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  run.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.run_time = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start);
  return run;
}

}  // namespace vigil
