// vigil start, stop, status and restart: the orbs of one working directory
// as a launcher runs them.
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <iomanip>
#include <sstream>
#include <thread>

#include "store/clock_text.h"
#include "store/text.h"
#include "vigil/commands.h"
#include "vigil/end_signals.h"
#include "vigil/wall_launcher.h"
#include "vigil/wall_options.h"
#include "vigil/wall_orbs.h"
#include "vigil/wall_survey.h"

namespace vigil::cli {
namespace {

volatile sig_atomic_t watch_ended = 0;

void EndWatch(int) { watch_ended = 1; }

// The usual status convention: 3 when a service asked about does not run.
constexpr int kNotRunning = 3;

// The orb's wait is newer news than any line it logged before it.
std::string LastEventShown(const OrbCondition& condition) {
  if (!condition.lock_wait.empty()) return condition.lock_wait;
  return condition.last_event.empty() ? "-" : condition.last_event;
}

int PrintStatus(const std::vector<OrbCondition>& orbs, std::ostream& out) {
  out << std::left << std::setw(12) << "ORB" << std::setw(11) << "NAME"
      << std::setw(8) << "PID" << std::setw(9) << "PROCESS" << std::setw(10)
      << "STATE"
      << "LAST EVENT\n";
  int status = 0;
  for (const OrbCondition& condition : orbs) {
    const bool running = condition.process == ProcessState::kRunning;
    if (!running) status = kNotRunning;
    const std::string pid = running ? std::to_string(condition.pid) : "-";
    out << std::setw(12) << condition.orb.stem() << std::setw(11)
        << condition.orb.record.display_name() << std::setw(8) << pid
        << std::setw(9) << ProcessStateName(condition.process) << std::setw(10)
        << condition.marker << LastEventShown(condition);
    if (!condition.moved_from.empty()) {
      out << "  [started as " << condition.moved_from << "]";
    }
    out << "\n";
  }
  return status;
}

struct Wall {
  std::vector<OrbCondition> all;
  std::vector<OrbCondition> chosen;  // the numbers asked for
};

// Reads the orbs files and surveys every orb; nullopt after an error.
std::optional<Wall> SurveyChosen(const WallOptions& options,
                                 const std::filesystem::path& dir,
                                 std::ostream& err) {
  const WallScan scan = ReadWall(dir, options.modes);
  if (!scan.error.empty()) {
    err << "vigil: " << scan.error << "\n";
    return std::nullopt;
  }
  Wall wall;
  wall.all = SurveyWall(dir, scan.orbs, LauncherFiles(dir));
  for (const std::string& number : options.numbers) {
    const bool known =
        std::any_of(scan.orbs.begin(), scan.orbs.end(),
                    [&](const WallOrb& orb) { return orb.number == number; });
    if (!known) {
      err << "vigil: no orb " << number << " in the orbs files of "
          << dir.string() << "\n";
      return std::nullopt;
    }
  }
  for (const OrbCondition& condition : wall.all) {
    if (options.numbers.empty() ||
        std::find(options.numbers.begin(), options.numbers.end(),
                  condition.orb.number) != options.numbers.end()) {
      wall.chosen.push_back(condition);
    }
  }
  SortByNumber(wall.chosen);
  return wall;
}

// restart --watch: a look every few seconds until SIGINT or SIGTERM.
int Watch(const WallOptions& options, const std::filesystem::path& dir,
          std::ostream& out, std::ostream& err) {
  watch_ended = 0;
  CatchEndSignals(EndWatch);
  out << "watching " << dir.string() << " every " << options.every.count()
      << " s; SIGINT or SIGTERM ends the watch, not the orbs\n"
      << std::flush;
  while (!watch_ended) {
    // The orbs file is read anew each time: orbs come, go and move.
    std::ostringstream said;
    if (const auto wall = SurveyChosen(options, dir, err)) {
      WallLauncher(options, dir, said, err)
          .Restart(wall->chosen, wall->all, /*quiet=*/true);
    }
    // A watch runs for days: each line says when.
    const std::string time = TimeText(WallClock::now());
    for (const std::string& line : SplitLines(said.str())) {
      out << time << " " << line << "\n";
    }
    out << std::flush;
    const auto until = std::chrono::steady_clock::now() + options.every;
    while (!watch_ended && std::chrono::steady_clock::now() < until) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }
  out << "watch ended\n";
  return 0;
}

}  // namespace

int RunWall(const std::string& command, const Words& words, std::ostream& out,
            std::ostream& err) {
  const Result<WallOptions> parse = ParseWallOptions(command, words);
  if (!parse) {
    err << "vigil " << command << ": " << parse.error() << "\n"
        << WallUsage(command);
    return 2;
  }
  const WallOptions& options = *parse;
  if (options.help) {
    out << WallUsage(command);
    return 0;
  }
  const Result<std::filesystem::path> resolved = ResolvedWallDir(options.dir);
  if (!resolved) {
    err << "vigil: " << resolved.error() << "\n";
    return 2;
  }
  const std::filesystem::path& dir = *resolved;
  if (command == "restart" && options.watch) {
    return Watch(options, dir, out, err);
  }
  const auto wall = SurveyChosen(options, dir, err);
  if (!wall) return 2;
  if (command == "status") return PrintStatus(wall->chosen, out);
  WallLauncher launcher(options, dir, out, err);
  if (command == "start") return launcher.Start(wall->chosen, wall->all);
  if (command == "remove") return launcher.Remove(wall->chosen, wall->all);
  if (command == "stop") {
    return launcher.Stop(wall->chosen, wall->all, options.numbers.empty());
  }
  return launcher.Restart(wall->chosen, wall->all, /*quiet=*/false);
}

}  // namespace vigil::cli
