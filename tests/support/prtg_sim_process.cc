#include "support/prtg_sim_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace vigil::testing {
namespace {

using Clock = std::chrono::steady_clock;

// Long enough for any one test, short enough that a crashed test leaves no
// simulator behind for long.
constexpr int kSimLifetimeSeconds = 40;

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

}  // namespace

ToolProcess::~ToolProcess() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  if (out_fd_ >= 0) ::close(out_fd_);
}

bool ToolProcess::Start(const std::vector<std::string>& argv,
                        const std::filesystem::path& stderr_file) {
  int pipe_fds[2];
  if (::pipe2(pipe_fds, O_CLOEXEC) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, stderr_file.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char*> args;
  for (const std::string& arg : argv) {
    args.push_back(const_cast<char*>(arg.c_str()));
  }
  args.push_back(nullptr);
  const int spawned =
      posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipe_fds[1]);
  if (spawned != 0) {
    ::close(pipe_fds[0]);
    pid_ = -1;
    return false;
  }
  out_fd_ = pipe_fds[0];
  return true;
}

std::optional<std::string> ToolProcess::ReadLine(
    std::chrono::milliseconds timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  for (;;) {
    const size_t end = buffer_.find('\n');
    if (end != std::string::npos) {
      std::string line = buffer_.substr(0, end);
      buffer_.erase(0, end + 1);
      return line;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - Clock::now());
    if (out_fd_ < 0 || left.count() <= 0) return std::nullopt;
    pollfd waiting{out_fd_, POLLIN, 0};
    if (::poll(&waiting, 1, static_cast<int>(left.count())) <= 0) {
      return std::nullopt;
    }
    char chunk[512];
    const ssize_t count = ::read(out_fd_, chunk, sizeof(chunk));
    if (count <= 0) return std::nullopt;
    buffer_.append(chunk, static_cast<size_t>(count));
  }
}

PrtgSim::PrtgSim(const std::filesystem::path& dir, const std::string& sensors,
                 const std::vector<std::string>& extra)
    : log_file_(dir / "prtg-sim.log") {
  const std::filesystem::path sensors_file = dir / "sensors.txt";
  std::ofstream(sensors_file) << sensors;
  std::vector<std::string> argv = {std::string(VIGIL_BIN_DIR) + "/prtg-sim",
                                   "--port",
                                   "0",
                                   "--lifetime",
                                   std::to_string(kSimLifetimeSeconds),
                                   "--sensors",
                                   sensors_file.string(),
                                   "--no-drift"};
  argv.insert(argv.end(), extra.begin(), extra.end());
  if (!process_.Start(argv, log_file_)) return;
  const std::optional<std::string> line =
      process_.ReadLine(std::chrono::seconds(10));
  if (line) port_ = std::atoi(line->c_str());
}

std::string PrtgSim::RequestLog() const {
  std::ifstream in(log_file_);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

int UnusedLoopbackPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = Loopback(0);
  socklen_t length = sizeof(address);
  int port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
  ::close(fd);
  return port;
}

bool WaitForListener(int port, std::chrono::milliseconds limit) {
  const Clock::time_point deadline = Clock::now() + limit;
  while (Clock::now() < deadline) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = Loopback(port);
    const bool connected =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address),
                  sizeof(address)) == 0;
    ::close(fd);
    if (connected) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

}  // namespace vigil::testing
