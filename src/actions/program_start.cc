#include "actions/program_start.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>

extern char** environ;

namespace vigil {
namespace {

std::vector<char*> ArgumentVector(std::vector<std::string>& words) {
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  return argv;
}

// A new process group (pgroup 0) only with POSIX_SPAWN_SETPGROUP in flags.
std::optional<pid_t> Spawn(std::vector<std::string> words,
                           const std::filesystem::path& working_dir,
                           short flags) {
  if (words.empty()) return std::nullopt;
  std::vector<char*> argv = ArgumentVector(words);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, working_dir.c_str());
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, flags);
  posix_spawnattr_setpgroup(&attributes, 0);
  pid_t pid = -1;
  const int error =
      posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (error != 0) return std::nullopt;
  return pid;
}

bool IsExecutableFile(const std::filesystem::path& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

ProgramEnd StartAndWait(const std::vector<std::string>& argv,
                        const std::filesystem::path& working_dir,
                        const std::function<bool()>& should_give_up,
                        GiveUp give_up) {
  ProgramEnd end;
  const bool own_group = give_up == GiveUp::kKillProcessGroup;
  const std::optional<pid_t> pid =
      Spawn(argv, working_dir, own_group ? POSIX_SPAWN_SETPGROUP : 0);
  if (!pid) return end;
  end.started = true;
  int status = 0;
  for (;;) {
    const pid_t done = waitpid(*pid, &status, should_give_up ? WNOHANG : 0);
    if (done == *pid) break;
    if (done < 0 && errno != EINTR) break;
    if (should_give_up && should_give_up()) {
      end.abandoned = true;
      if (!own_group) return end;
      ::kill(-*pid, SIGKILL);
      waitpid(*pid, &status, 0);
      break;
    }
    if (should_give_up) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  end.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return end;
}

bool StartDetached(const std::vector<std::string>& argv,
                   const std::filesystem::path& working_dir) {
  if (argv.empty()) return false;
  // A short-lived shell puts the program in the background and ends; the
  // program and its arguments are positional parameters, never parsed.
  std::vector<std::string> words = {"/bin/sh", "-c", "\"$@\" &", "vigil-open"};
  words.insert(words.end(), argv.begin(), argv.end());
  const std::optional<pid_t> pid =
      Spawn(words, working_dir, POSIX_SPAWN_SETSID);
  if (!pid) return false;
  int status = 0;
  while (waitpid(*pid, &status, 0) < 0 && errno == EINTR) {
  }
  return true;
}

bool IsExecutableProgram(const std::string& program,
                         const std::filesystem::path& working_dir) {
  if (program.empty()) return false;
  if (program.find('/') != std::string::npos) {
    const std::filesystem::path path(program);
    return IsExecutableFile(path.is_absolute() ? path : working_dir / path);
  }
  const char* search_path = std::getenv("PATH");
  std::string_view rest = search_path ? search_path : "/usr/bin:/bin";
  for (;;) {
    const size_t colon = rest.find(':');
    const std::string dir(rest.substr(0, colon));
    const std::filesystem::path base =
        dir.empty() ? working_dir : std::filesystem::path(dir);
    if (IsExecutableFile(base / program)) return true;
    if (colon == std::string_view::npos) return false;
    rest.remove_prefix(colon + 1);
  }
}

}  // namespace vigil
