#include "vigil/launcher_process.h"

#include <fcntl.h>
#include <linux/close_range.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <string_view>
#include <system_error>

#include "store/text.h"
#include "store/text_file.h"
#include "vigil/orbs_file_input.h"

namespace vigil::cli {
namespace {

// Empty when the process or its file is gone.
std::string ProcText(const std::string& path) {
  return ReadFileBytes(path).value_or("");
}

std::vector<std::string> BlankSeparated(std::string_view text) {
  std::vector<std::string> words;
  size_t at = 0;
  while (at < text.size()) {
    const size_t start = text.find_first_not_of(" \t\n", at);
    if (start == std::string_view::npos) break;
    const size_t end =
        std::min(text.find_first_of(" \t\n", start), text.size());
    words.emplace_back(text.substr(start, end - start));
    at = end;
  }
  return words;
}

std::optional<long long> Number(std::string_view text) {
  long long value = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

std::vector<std::string> CommandLineOf(pid_t pid) {
  const std::string bytes =
      ProcText("/proc/" + std::to_string(pid) + "/cmdline");
  std::vector<std::string> words;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\0', start);
    if (end == std::string::npos) end = bytes.size();
    words.push_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

// Only another user's process hides its directory, and another user's
// orb is no orb of this wall.
bool SameDirectory(pid_t pid, const std::filesystem::path& working_dir) {
  std::error_code error;
  const std::filesystem::path cwd = std::filesystem::read_symlink(
      "/proc/" + std::to_string(pid) + "/cwd", error);
  if (error) return false;
  const std::filesystem::path wanted =
      std::filesystem::weakly_canonical(working_dir, error);
  return !error && cwd == wanted;
}

// Writes all of it or nothing useful; after fork only such calls are safe.
void WriteAll(int fd, const void* data, size_t size) {
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t written = write(fd, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    bytes += written;
    size -= static_cast<size_t>(written);
  }
}

bool ReadAll(int fd, void* data, size_t size) {
  char* bytes = static_cast<char*>(data);
  while (size > 0) {
    const ssize_t got = read(fd, bytes, size);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    bytes += got;
    size -= static_cast<size_t>(got);
  }
  return true;
}

// The orb itself, in the grandchild: only async-signal-safe calls, and any
// failure goes back through the pipe as an errno value with a step.
[[noreturn]] void BecomeProgram(const LaunchRequest& request, char* const* argv,
                                int report_fd) {
  auto fail = [report_fd](int step) {
    const std::array<int, 2> report = {step, errno};
    WriteAll(report_fd, report.data(), sizeof report);
    _exit(127);
  };
  // Nothing of vigil's but the report pipe survives the exec, so that no
  // pipe of whoever runs vigil stays open as long as the orb runs.
  close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
  if (chdir(request.working_dir.c_str()) != 0) fail(1);
  const int input = open("/dev/null", O_RDONLY | O_CLOEXEC);
  const int output = open(request.output_file.c_str(),
                          O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (input < 0 || output < 0) fail(2);
  if (dup2(input, STDIN_FILENO) < 0 || dup2(output, STDOUT_FILENO) < 0 ||
      dup2(output, STDERR_FILENO) < 0) {
    fail(2);
  }
  // The orb gets the signal dispositions of a fresh process.
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  signal(SIGPIPE, SIG_DFL);
  execv(request.executable.c_str(), argv);
  fail(3);
  _exit(127);
}

// The intermediate child leaves the session and exits at once, so that
// the orb is nobody's child here; it reports the orb's pid first.
[[noreturn]] void ForkOrb(const LaunchRequest& request, char* const* argv,
                          int report_fd) {
  setsid();
  const pid_t orb = fork();
  if (orb == 0) BecomeProgram(request, argv, report_fd);
  WriteAll(report_fd, &orb, sizeof orb);
  _exit(orb < 0 ? 1 : 0);
}

std::vector<std::string> CommandWords(const LaunchRequest& request) {
  std::vector<std::string> words = {request.executable.string()};
  words.insert(words.end(), request.arguments.begin(), request.arguments.end());
  return words;
}

std::vector<char*> ArgvOf(std::vector<std::string>& words) {
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  return argv;
}

void AwaitExit(pid_t child) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

std::string FailureText(const LaunchRequest& request, int step, int error) {
  std::string text;
  if (step == 1) {
    text = "cannot enter " + request.working_dir.string();
  } else if (step == 2) {
    text = "cannot write " + request.output_file.string();
  } else {
    text = "cannot run " + request.executable.string();
  }
  return text + ": " + std::strerror(error);
}

// The orb's pid from the intermediate child, then a failure from the orb,
// or the pipe closed by the exec without a word: the program runs.
Result<pid_t> ReadLaunchReport(int report_fd, const LaunchRequest& request) {
  pid_t pid = -1;
  if (!ReadAll(report_fd, &pid, sizeof pid) || pid < 0) {
    return Failure("fork failed");
  }
  std::array<int, 2> failure = {0, 0};
  if (ReadAll(report_fd, failure.data(), sizeof failure)) {
    return Failure(FailureText(request, failure[0], failure[1]));
  }
  return pid;
}

}  // namespace

std::optional<OrbProcess> InspectOrbProcess(
    pid_t pid, const std::filesystem::path& working_dir) {
  if (pid < 1 || (kill(pid, 0) != 0 && errno != EPERM)) return std::nullopt;
  // A zombie has an empty command line.
  const std::vector<std::string> words = CommandLineOf(pid);
  if (words.size() < 3) return std::nullopt;
  const std::string mode = std::filesystem::path(words[0]).filename().string();
  if (!IsModeWord(mode)) return std::nullopt;
  if (!SameDirectory(pid, working_dir)) return std::nullopt;
  return OrbProcess{pid, mode, words[2]};
}

std::vector<OrbProcess> ScanOrbProcesses(
    const std::filesystem::path& working_dir) {
  std::vector<OrbProcess> found;
  std::error_code error;
  for (const auto& entry :
       std::filesystem::directory_iterator("/proc", error)) {
    const std::string name = entry.path().filename().string();
    if (!IsDigits(name)) continue;
    const auto pid = ParseInteger(name);
    if (!pid) continue;
    if (auto orb = InspectOrbProcess(*pid, working_dir)) {
      found.push_back(std::move(*orb));
    }
  }
  return found;
}

std::optional<long long> StartTicksOfStat(std::string_view stat) {
  const size_t name_end = stat.rfind(')');
  if (name_end == std::string_view::npos) return std::nullopt;
  // Field 3, the state, follows the name; field 22 is 19 fields further.
  std::vector<std::string> fields = BlankSeparated(stat.substr(name_end + 1));
  if (fields.size() < 20 || fields[0] == "Z") return std::nullopt;
  return Number(fields[19]);
}

std::optional<double> ProcessAge(pid_t pid) {
  const auto ticks =
      StartTicksOfStat(ProcText("/proc/" + std::to_string(pid) + "/stat"));
  const long per_second = sysconf(_SC_CLK_TCK);
  if (!ticks || per_second <= 0) return std::nullopt;
  // The first word of /proc/uptime: seconds since boot, as the start is.
  const std::string uptime = ProcText("/proc/uptime");
  double since_boot = 0;
  const auto [end, error] =
      std::from_chars(uptime.data(), uptime.data() + uptime.size(), since_boot);
  if (error != std::errc()) return std::nullopt;
  return std::max(0.0, since_boot - static_cast<double>(*ticks) /
                                        static_cast<double>(per_second));
}

std::vector<pid_t> ChildProcesses(pid_t pid) {
  std::vector<pid_t> children;
  std::error_code error;
  const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
  for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
    for (const std::string& word :
         BlankSeparated(ProcText((task.path() / "children").string()))) {
      if (const auto child = Number(word); child && *child > 0) {
        children.push_back(static_cast<pid_t>(*child));
      }
    }
  }
  return children;
}

Result<pid_t> LaunchDetached(const LaunchRequest& request) {
  // Everything the child needs is made before the fork.
  std::vector<std::string> words = CommandWords(request);
  const std::vector<char*> argv = ArgvOf(words);
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) {
    return Failure(std::string("pipe: ") + std::strerror(errno));
  }
  const pid_t child = fork();
  if (child < 0) {
    const int error = errno;
    close(report[0]);
    close(report[1]);
    return Failure(std::string("fork: ") + std::strerror(error));
  }
  if (child == 0) {
    close(report[0]);
    ForkOrb(request, argv.data(), report[1]);
  }
  close(report[1]);
  AwaitExit(child);
  Result<pid_t> launch = ReadLaunchReport(report[0], request);
  close(report[0]);
  return launch;
}

}  // namespace vigil::cli
