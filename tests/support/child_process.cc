#include "support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>

extern char** environ;

namespace vigil::testing {
namespace {

using Clock = std::chrono::steady_clock;

// Ours with the entries of env replacing those of the same name.
std::vector<std::string> MergedEnvironment(
    const std::vector<std::string>& env) {
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
  return environment;
}

}  // namespace

ChildProcess::ChildProcess(std::vector<std::string> argv,
                           std::filesystem::path dir,
                           std::vector<std::string> env)
    : ChildProcess(std::move(argv),
                   ChildOptions{.dir = std::move(dir), .env = std::move(env)}) {
}

ChildProcess::ChildProcess(std::vector<std::string> argv,
                           const ChildOptions& options) {
  if (argv.empty()) return;
  std::vector<std::string> environment = MergedEnvironment(options.env);
  std::vector<char*> arg_pointers;
  for (std::string& arg : argv) arg_pointers.push_back(arg.data());
  arg_pointers.push_back(nullptr);
  std::vector<char*> env_pointers;
  for (std::string& entry : environment) env_pointers.push_back(entry.data());
  env_pointers.push_back(nullptr);

  int pipe_fds[2] = {-1, -1};
  if (options.capture_stdout && ::pipe2(pipe_fds, O_CLOEXEC) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (options.capture_stdout) {
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
  }
  if (!options.stderr_file.empty()) {
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO,
                                     options.stderr_file.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
  }
  if (!options.dir.empty()) {
    posix_spawn_file_actions_addchdir_np(&actions, options.dir.c_str());
  }
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  if (posix_spawn(&pid_, arg_pointers[0], &actions, &attributes,
                  arg_pointers.data(), env_pointers.data()) != 0) {
    pid_ = -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (options.capture_stdout) {
    ::close(pipe_fds[1]);
    if (pid_ > 0) {
      out_fd_ = pipe_fds[0];
    } else {
      ::close(pipe_fds[0]);
    }
  }
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && !status_) {
    ::kill(-pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
  }
  if (out_fd_ >= 0) ::close(out_fd_);
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

void ChildProcess::SignalGroup(int signal) {
  if (Running()) ::kill(-pid_, signal);
}

bool ChildProcess::FillBuffer(Clock::time_point deadline) {
  if (out_fd_ < 0) return false;
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - Clock::now());
  if (left.count() <= 0) return false;
  pollfd waiting{out_fd_, POLLIN, 0};
  if (::poll(&waiting, 1, static_cast<int>(left.count())) <= 0) return false;
  std::array<char, 4096> chunk;
  const ssize_t count = ::read(out_fd_, chunk.data(), chunk.size());
  if (count <= 0) {
    ::close(out_fd_);
    out_fd_ = -1;
    return false;
  }
  buffer_.append(chunk.data(), static_cast<size_t>(count));
  return true;
}

std::optional<std::string> ChildProcess::ReadLine(
    std::chrono::milliseconds timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  for (;;) {
    const size_t end = buffer_.find('\n');
    if (end != std::string::npos) {
      std::string line = buffer_.substr(0, end);
      buffer_.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
    if (!FillBuffer(deadline)) return std::nullopt;
  }
}

std::string ChildProcess::ReadAll(std::chrono::milliseconds timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  while (FillBuffer(deadline)) {
  }
  std::string all;
  all.swap(buffer_);
  return all;
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
