// Starts one of the built tools as a real child process with its stdout on
// a pipe, for the tests that look at what the tool prints and how it ends.
#ifndef VIGIL_TESTS_TOOLS_CHILD_PROCESS_H_
#define VIGIL_TESTS_TOOLS_CHILD_PROCESS_H_

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace vigil::tools_test {

class ChildProcess {
 public:
  ChildProcess() = default;
  // Ends the child (SIGKILL) if it still runs, and reaps it.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // argv[0] is the program path; cwd empty keeps the test's directory.
  bool Start(const std::vector<std::string>& argv, const std::string& cwd = {});

  // The next line of stdout without its line end; nullopt on time-out or
  // end of output.
  std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);

  // Everything until stdout closes, or until the time-out.
  std::string ReadAll(std::chrono::milliseconds timeout);

  // The exit code, or nullopt when the child did not end in time (or was
  // ended by a signal).
  std::optional<int> Wait(std::chrono::milliseconds timeout);

  bool running() const { return pid_ > 0; }

 private:
  bool FillBuffer(std::chrono::steady_clock::time_point deadline);

  pid_t pid_ = -1;
  int out_fd_ = -1;
  std::string buffer_;
};

// A fresh directory under the system's temporary directory, removed with
// everything in it at the end of the scope.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  // Writes a file in the directory and gives its full path.
  std::string Write(const std::string& name, const std::string& content) const;

 private:
  std::string path_;
};

}  // namespace vigil::tools_test

#endif  // VIGIL_TESTS_TOOLS_CHILD_PROCESS_H_
