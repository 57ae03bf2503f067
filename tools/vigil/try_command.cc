// vigil try [--profile FILE] -- PROGRAM [ARGS...]: runs a sensor program
// once as an AuxOrb runs it and tells whether the orb would show its data.
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

#include "monitor/program_runner.h"
#include "monitor/result_format.h"
#include "monitor/sensor_timeout.h"
#include "store/file_remover.h"
#include "store/text.h"
#include "store/text_file.h"
#include "vigil/command_usage.h"
#include "vigil/commands.h"
#include "vigil/option_words.h"
#include "vigil/result_report.h"
#include "vigil/shown_text.h"

namespace vigil::cli {
namespace {

namespace fs = std::filesystem;

// What an orb passes first when its source is Global.
constexpr char kGlobalArgument[] = "Global";

// Why the shell could not run the program as a file; nullopt when it can.
std::optional<std::string> WhyNotRunnable(const fs::path& program) {
  std::error_code error;
  const fs::file_status status = fs::status(program, error);
  if (!fs::exists(status)) return "no such file";
  if (fs::is_directory(status)) return "a directory, not a program";
  if (::access(program.c_str(), X_OK) != 0) {
    return "not executable (chmod +x " + program.string() + ")";
  }
  return std::nullopt;
}

// The orb names its program by a path; a bare name would be looked up on
// PATH by the shell, so it is taken from the current directory instead.
std::string ProgramPath(const std::string& program) {
  return program.find('/') == std::string::npos ? "./" + program : program;
}

// An empty file for the sensor's output, removed when it goes.
class WorkFile {
 public:
  WorkFile() {
    const char* dir = std::getenv("TMPDIR");
    std::string name =
        std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") +
        "/vigil-try-XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
      error_ =
          "cannot create a work file " + name + ": " + std::strerror(errno);
      return;
    }
    ::close(fd);
    path_ = name;
  }
  ~WorkFile() {
    if (!path_.empty()) RemoveFile(path_);
  }
  WorkFile(const WorkFile&) = delete;
  WorkFile& operator=(const WorkFile&) = delete;

  const fs::path& path() const { return path_; }
  const std::string& error() const { return error_; }

 private:
  fs::path path_;
  std::string error_;
};

volatile sig_atomic_t interrupted = 0;

void Interrupt(int) { interrupted = 1; }

// Ctrl-C while the sensor runs: the sensor runs in a process group of its
// own, out of the terminal's reach, so it is ended here with everything it
// started, and the work file goes with it.
class InterruptWatch {
 public:
  InterruptWatch() {
    interrupted = 0;
    struct sigaction action {};
    action.sa_handler = Interrupt;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, &previous_int_);
    ::sigaction(SIGTERM, &action, &previous_term_);
  }
  ~InterruptWatch() {
    ::sigaction(SIGINT, &previous_int_, nullptr);
    ::sigaction(SIGTERM, &previous_term_, nullptr);
  }
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

  static bool Interrupted() { return interrupted != 0; }

 private:
  struct sigaction previous_int_ {};
  struct sigaction previous_term_ {};
};

// The sensor command as the orb gives it to the shell, without the
// redirection: program, profile argument, arguments, each word quoted.
std::string SensorWords(const std::string& program,
                        const std::string& profile_argument,
                        const std::vector<std::string>& arguments) {
  std::string command =
      ShellQuote(program) + " " + ShellQuote(profile_argument);
  for (const std::string& argument : arguments) {
    command += " " + ShellQuote(argument);
  }
  return command;
}

void WriteExitStatus(int exit_status, std::ostream& out) {
  if (exit_status == 0) return;
  if (exit_status < 0) {
    out << "the program ended by a signal (an orb ignores it)\n";
  } else {
    out << "exit status: " << exit_status << " (an orb ignores it)\n";
  }
}

// The profile's time-out, as an orb reads it from its attached copy.
SensorTimeLimit ProfileTimeout(const std::optional<std::string>& profile,
                               std::ostream& out) {
  if (!profile) return {};
  const Result<SensorTimeLimit> limit = ReadSensorTimeout(
      ReadLines(*profile).value_or(std::vector<std::string>{}));
  if (!limit) {
    out << "time-out: none, an orb ignores the line: " << limit.error() << '\n';
  } else if (*limit) {
    out << "time-out: " << (*limit)->count()
        << " s, from the profile's Sensor-Timeout line\n";
  }
  return limit.value_or(std::nullopt);
}

}  // namespace

int RunTry(const Words& words, std::ostream& out, std::ostream& err) {
  const Result<OptionWords> parsed = ParseOptionWords(words, {"profile"}, {});
  const OptionWords options = parsed.value_or({});
  if (!parsed || options.positional.empty()) {
    err << "vigil try: "
        << (parsed ? "expected a sensor program" : parsed.error()) << '\n'
        << UsageLineOf("try");
    return 2;
  }
  const std::string program = ProgramPath(options.positional.front());
  if (const auto why = WhyNotRunnable(program)) {
    err << "vigil try: " << Shown(options.positional.front()) << ": " << *why
        << '\n';
    return 2;
  }
  const WorkFile work_file;
  if (work_file.path().empty()) {
    err << "vigil try: " << work_file.error() << '\n';
    return 2;
  }
  const std::vector<std::string> arguments(options.positional.begin() + 1,
                                           options.positional.end());
  const std::string command = SensorWords(
      program, options.Value("profile").value_or(kGlobalArgument), arguments);
  out << "command: " << command << '\n';
  const SensorTimeLimit limit = ProfileTimeout(options.Value("profile"), out);
  out << std::flush;
  const auto started = std::chrono::steady_clock::now();
  bool timed_out = false;
  ProgramRun run;
  {
    const InterruptWatch watch;
    run = RunShellCommand(
        RedirectedCommandLine(command, work_file.path().string()), ".", [&] {
          if (InterruptWatch::Interrupted()) return true;
          timed_out =
              limit && std::chrono::steady_clock::now() - started >= *limit;
          return timed_out;
        });
  }
  if (!run.started) {
    err << "vigil try: the shell /bin/sh could not be started\n";
    return 2;
  }
  if (run.abandoned && timed_out) {
    out << "ran past the profile's time-out and was ended with what it "
           "started\nan orb shows no data: "
        << SensorTimedOutText(options.positional.front(), *limit) << '\n';
    return 1;
  }
  if (run.abandoned) {
    err << "vigil try: interrupted; the program and what it started were "
           "ended\n";
    return 2;
  }
  WriteExitStatus(run.exit_status, out);
  const auto lines = ReadResultLines(work_file.path());
  if (!lines) {
    err << "vigil try: cannot read the work file " << work_file.path().string()
        << '\n';
    return 2;
  }
  return WriteResultReport(*lines, out) ? 0 : 1;
}

}  // namespace vigil::cli
