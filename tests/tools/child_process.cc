#include "tools/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

extern char** environ;

namespace vigil::tools_test {

using Clock = std::chrono::steady_clock;

ChildProcess::~ChildProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (out_fd_ >= 0) close(out_fd_);
}

bool ChildProcess::Start(const std::vector<std::string>& argv,
                         const std::string& cwd) {
  int pipe_fds[2];
  if (pipe2(pipe_fds, O_CLOEXEC) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
  if (!cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
  std::vector<char*> args;
  for (const std::string& arg : argv)
    args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  const int spawned =
      posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_fds[1]);
  if (spawned != 0) {
    close(pipe_fds[0]);
    pid_ = -1;
    return false;
  }
  out_fd_ = pipe_fds[0];
  return true;
}

bool ChildProcess::FillBuffer(Clock::time_point deadline) {
  if (out_fd_ < 0) return false;
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - Clock::now());
  if (left.count() <= 0) return false;
  pollfd waiting{out_fd_, POLLIN, 0};
  if (poll(&waiting, 1, static_cast<int>(left.count())) <= 0) return false;
  char chunk[4096];
  const ssize_t count = read(out_fd_, chunk, sizeof(chunk));
  if (count <= 0) {
    close(out_fd_);
    out_fd_ = -1;
    return false;
  }
  buffer_.append(chunk, static_cast<size_t>(count));
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

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds timeout) {
  if (pid_ <= 0) return std::nullopt;
  const Clock::time_point deadline = Clock::now() + timeout;
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      pid_ = -1;
      if (WIFEXITED(status)) return WEXITSTATUS(status);
      return std::nullopt;
    }
    if (done < 0 && errno != EINTR) return std::nullopt;
    if (Clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

TempDir::TempDir() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "vigil-tools-XXXXXX").string();
  if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TempDir::~TempDir() {
  if (path_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& name,
                           const std::string& content) const {
  const std::string file = path_ + "/" + name;
  std::ofstream out(file, std::ios::binary);
  out << content;
  return file;
}

}  // namespace vigil::tools_test
