// A real child process for the tests: started in a directory with extra
// environment, optionally with its stdout on a pipe and its stderr in a
// file, waited for with a time limit, killed when dropped.
#ifndef VIGIL_TESTS_SUPPORT_CHILD_PROCESS_H_
#define VIGIL_TESTS_SUPPORT_CHILD_PROCESS_H_

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vigil::testing {

struct ChildOptions {
  std::filesystem::path dir;     // working directory; empty keeps ours
  std::vector<std::string> env;  // "NAME=value", replacing ours of that name
  bool capture_stdout = false;   // stdout on a pipe, for ReadLine and ReadAll
  std::filesystem::path stderr_file;  // non-empty: stderr goes there
};

// The child runs in its own process group, so that dropping it also ends
// whatever it started.
class ChildProcess {
 public:
  // argv[0] is the program path; env entries are "NAME=value" added to ours.
  ChildProcess(std::vector<std::string> argv, std::filesystem::path dir,
               std::vector<std::string> env = {});
  ChildProcess(std::vector<std::string> argv, const ChildOptions& options);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }
  bool Running();
  // The exit code (128 + the signal for a killed child), or nullopt when it
  // did not end in time.
  std::optional<int> WaitFor(std::chrono::milliseconds limit);
  void Signal(int signal);
  // Reaches the child and everything it started.
  void SignalGroup(int signal);

  // With capture_stdout: the next line without its LF (and a CR before it);
  // nullopt on time-out or end of output.
  std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);
  // With capture_stdout: what is left until stdout closes or the time-out.
  std::string ReadAll(std::chrono::milliseconds timeout);

 private:
  bool FillBuffer(std::chrono::steady_clock::time_point deadline);

  pid_t pid_ = -1;
  std::optional<int> status_;
  int out_fd_ = -1;
  std::string buffer_;
};

// Polls until done() or the limit; true when done() held.
template <typename Condition>
bool WaitUntil(Condition done, std::chrono::milliseconds limit);

// Runs a command and returns its standard output.
std::string CommandOutput(const std::string& command);

}  // namespace vigil::testing

#include "support/wait_until.inc"

#endif  // VIGIL_TESTS_SUPPORT_CHILD_PROCESS_H_
