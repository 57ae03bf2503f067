#include "shell/thread_ending.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <thread>

namespace vigil {

int CountThreads(pid_t pid) {
  const std::filesystem::path tasks =
      std::filesystem::path("/proc") /
      (pid == 0 ? std::string("self") : std::to_string(pid)) / "task";
  std::error_code error;
  int count = 0;
  for (std::filesystem::directory_iterator task(tasks, error), end;
       !error && task != end; task.increment(error)) {
    ++count;
  }
  return error ? 0 : count;
}

bool WaitUntilOnlyThread(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (CountThreads() > 1) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

}  // namespace vigil
