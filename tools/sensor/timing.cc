#include "sensor/timing.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

extern char** environ;

namespace vigil::sensor {
namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start)
      .count();
}

std::string Describe(const HostPort& target) {
  const bool v6 = target.host.find(':') != std::string::npos;
  return (v6 ? "[" + target.host + "]" : target.host) + ":" +
         std::to_string(target.port);
}

// One non-blocking connect with a deadline; errno-style code, 0 on success.
int ConnectOnce(const addrinfo& address, int timeout_ms) {
  const int fd = socket(address.ai_family,
                        address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                        address.ai_protocol);
  if (fd < 0) return errno;
  int result = 0;
  if (connect(fd, address.ai_addr, address.ai_addrlen) != 0) {
    result = errno;
    if (result == EINPROGRESS) {
      pollfd waiting{fd, POLLOUT, 0};
      const int ready = poll(&waiting, 1, timeout_ms);
      if (ready == 0) {
        result = ETIMEDOUT;
      } else if (ready < 0) {
        result = errno;
      } else {
        socklen_t length = sizeof(result);
        if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &result, &length) != 0) {
          result = errno;
        }
      }
    }
  }
  close(fd);
  return result;
}

}  // namespace

Timing TimeTcpConnect(const HostPort& target, int timeout_ms) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const std::string port = std::to_string(target.port);
  const int lookup =
      getaddrinfo(target.host.c_str(), port.c_str(), &hints, &found);
  if (lookup != 0) {
    return {std::nullopt,
            "cannot resolve " + target.host + ": " + gai_strerror(lookup)};
  }
  int last_error = EHOSTUNREACH;
  Timing timing;
  for (const addrinfo* address = found; address; address = address->ai_next) {
    const Clock::time_point start = Clock::now();
    last_error = ConnectOnce(*address, timeout_ms);
    const double ms = MsSince(start);
    if (last_error == 0 && ms > timeout_ms) last_error = ETIMEDOUT;
    if (last_error == 0) {
      timing.ms = ms;
      break;
    }
  }
  freeaddrinfo(found);
  if (!timing.ms) {
    timing.error =
        "TCP connect to " + Describe(target) + " failed: " +
        (last_error == ETIMEDOUT
             ? "no answer within " + std::to_string(timeout_ms) + " ms"
             : std::string(std::strerror(last_error)));
  }
  return timing;
}

Timing TimeTrueRun() {
  char name[] = "true";
  char* argv[] = {name, nullptr};
  const Clock::time_point start = Clock::now();
  pid_t child = 0;
  const int spawned =
      posix_spawnp(&child, name, nullptr, nullptr, argv, environ);
  if (spawned != 0) {
    return {std::nullopt,
            std::string("cannot run true: ") + std::strerror(spawned)};
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) {
      return {std::nullopt,
              std::string("cannot wait for true: ") + std::strerror(errno)};
    }
  }
  const double ms = MsSince(start);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return {std::nullopt, "true did not succeed"};
  }
  return {ms, {}};
}

}  // namespace vigil::sensor
