#include "monitor/program_runner.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>

#include "actions/program_start.h"
#include "store/text.h"

namespace vigil {

std::string SensorCommand(const std::string& companion_dir,
                          const std::string& program,
                          const std::string& profile_argument,
                          const std::string& address) {
  // The program path is quoted as one word; the arguments are the
  // operator's own text from the orbs file and stay as written.
  return Trim(ShellQuote(companion_dir + "/" + program) + " " +
              profile_argument + " " + address);
}

std::string RedirectedCommandLine(const std::string& command,
                                  const std::string& work_file) {
  return command + " > " + ShellQuote(work_file);
}

const std::vector<std::string>& CannedResultLines() {
  static const std::vector<std::string> kLines = {
      "<Prtg>",
      "<Text>(xxx) Sys-Informations</Text>",
      "<Result><Channel>RFC-Open Time</Channel>",
      "<Value>0344</Value>",
      "</Result>",
      "<Result><Channel>Processing Time</Channel>",
      "<Value>0078</Value>",
      "</Result>",
      "<Result><Channel>RFC-Close Time</Channel>",
      "<Value>0016</Value>",
      "</Result>",
      "<Result><Channel>Response Time</Channel>",
      "<Value>0438</Value>",
      "</Result>",
      "</Prtg>",
  };
  return kLines;
}

namespace {

// The file size limit of what the orb starts while it lives; the orb itself
// writes nothing while it waits for the program.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(long long bytes) {
    held_ = ::getrlimit(RLIMIT_FSIZE, &before_) == 0;
    if (!held_) return;
    rlimit limited = before_;
    limited.rlim_cur = std::min<rlim_t>(before_.rlim_cur, bytes);
    held_ = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
  }
  ~FileSizeLimit() {
    if (held_) ::setrlimit(RLIMIT_FSIZE, &before_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit before_{};
  bool held_ = false;
};

}  // namespace

ProgramRun RunShellCommand(const std::string& command_line,
                           const std::filesystem::path& working_dir,
                           const std::function<bool()>& should_give_up) {
  const auto start = std::chrono::steady_clock::now();
  const FileSizeLimit limit(kWorkFileLimit);
  const ProgramEnd end =
      StartAndWait({"/bin/sh", "-c", command_line}, working_dir, should_give_up,
                   GiveUp::kKillProcessGroup);
  ProgramRun run;
  run.started = end.started;
  run.abandoned = end.abandoned;
  run.exit_status = end.exit_status;
  if (run.started) {
    run.run_time = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
  }
  return run;
}

}  // namespace vigil
