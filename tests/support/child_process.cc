#include "support/child_process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <thread>

extern char** environ;

namespace vigil::testing {

ChildProcess::ChildProcess(std::vector<std::string> argv,
                           std::filesystem::path dir,
                           std::vector<std::string> env) {
  // Entries of env replace ours of the same name.
  auto name_of = [](const std::string& entry) {
    return entry.substr(0, entry.find('='));
  };
  std::vector<std::string> environment = env;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string name = name_of(*entry);
    bool replaced = false;
    for (const std::string& own : env) replaced |= name_of(own) == name;
    if (!replaced) environment.emplace_back(*entry);
  }
  std::vector<char*> arg_pointers;
  for (std::string& arg : argv) arg_pointers.push_back(arg.data());
  arg_pointers.push_back(nullptr);
  std::vector<char*> env_pointers;
  for (std::string& entry : environment) env_pointers.push_back(entry.data());
  env_pointers.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  // Its own process group, so that a kill reaches what it started.
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  if (posix_spawn(&pid_, arg_pointers[0], &actions, &attributes,
                  arg_pointers.data(), env_pointers.data()) != 0) {
    pid_ = -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && !status_) {
    ::kill(-pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
  }
}

bool ChildProcess::Running() {
  if (pid_ <= 0 || status_) return false;
  int status = 0;
  const pid_t done = waitpid(pid_, &status, WNOHANG);
  if (done == pid_) {
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return false;
  }
  return true;
}

std::optional<int> ChildProcess::WaitFor(std::chrono::milliseconds limit) {
  WaitUntil([this] { return !Running(); }, limit);
  return status_;
}

void ChildProcess::Signal(int signal) {
  if (Running()) ::kill(pid_, signal);
}

std::string CommandOutput(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  std::array<char, 4096> buffer;
  size_t read = 0;
  while ((read = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
    output.append(buffer.data(), read);
  }
  pclose(pipe);
  return output;
}

}  // namespace vigil::testing
