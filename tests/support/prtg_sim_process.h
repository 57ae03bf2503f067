// Real helper processes for the PRTG client tests: the PRTG simulator on a
// free loopback port, and a TLS server with a certificate nobody signed.
#ifndef VIGIL_TESTS_SUPPORT_PRTG_SIM_PROCESS_H_
#define VIGIL_TESTS_SUPPORT_PRTG_SIM_PROCESS_H_

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vigil::testing {

// A child with its stdout on a pipe and its stderr in a file; killed (by its
// own pid) and reaped when dropped.
class ToolProcess {
 public:
  ToolProcess() = default;
  ~ToolProcess();
  ToolProcess(const ToolProcess&) = delete;
  ToolProcess& operator=(const ToolProcess&) = delete;

  bool Start(const std::vector<std::string>& argv,
             const std::filesystem::path& stderr_file);
  // The next stdout line; nullopt on time-out or end of output.
  std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);

 private:
  pid_t pid_ = -1;
  int out_fd_ = -1;
  std::string buffer_;
};

// prtg-sim serving the sensors text, with a short lifetime.
class PrtgSim {
 public:
  // extra: further options, such as {"--next", "1:500"}.
  PrtgSim(const std::filesystem::path& dir, const std::string& sensors,
          const std::vector<std::string>& extra = {});

  bool ready() const { return port_ > 0; }
  int port() const { return port_; }
  std::string host() const { return "127.0.0.1:" + std::to_string(port_); }
  // The simulator's request log (its stderr), one line per request.
  std::string RequestLog() const;

 private:
  std::filesystem::path log_file_;
  ToolProcess process_;
  int port_ = 0;
};

// A loopback port that nothing listens on at the moment.
int UnusedLoopbackPort();

// True once a TCP connection to the loopback port is accepted.
bool WaitForListener(int port, std::chrono::milliseconds limit);

}  // namespace vigil::testing

#endif  // VIGIL_TESTS_SUPPORT_PRTG_SIM_PROCESS_H_
