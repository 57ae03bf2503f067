// A real child process for end-to-end tests: started in a directory with
// extra environment, waited for with a time limit, killed when dropped.
#ifndef VIGIL_TESTS_SUPPORT_CHILD_PROCESS_H_
#define VIGIL_TESTS_SUPPORT_CHILD_PROCESS_H_

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vigil::testing {

class ChildProcess {
 public:
  // argv[0] is the program path; env entries are "NAME=value" added to ours.
  ChildProcess(std::vector<std::string> argv, std::filesystem::path dir,
               std::vector<std::string> env = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }
  bool Running();
  // The exit status, or nullopt when it did not end in time.
  std::optional<int> WaitFor(std::chrono::milliseconds limit);
  void Signal(int signal);

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

// Polls until done() or the limit; true when done() held.
template <typename Condition>
bool WaitUntil(Condition done, std::chrono::milliseconds limit);

// Runs a command and returns its standard output.
std::string CommandOutput(const std::string& command);

}  // namespace vigil::testing

#include "support/wait_until.inc"

#endif  // VIGIL_TESTS_SUPPORT_CHILD_PROCESS_H_
