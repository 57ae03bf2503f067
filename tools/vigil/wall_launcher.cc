#include "vigil/wall_launcher.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <thread>

#include "monitor/result_format.h"
#include "store/companion_files.h"
#include "store/file_remover.h"
#include "store/lock_holder.h"
#include "store/orb_names.h"
#include "store/orbs_file.h"
#include "store/text.h"
#include "store/text_file.h"
#include "vigil/launcher_process.h"
#include "vigil/orbs_file_input.h"
#include "vigil/wall_carry_over.h"

namespace vigil::cli {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// SIGTERM ends an orb through its normal clean-up, which takes a moment.
constexpr std::chrono::seconds kTermWait{5};
// An orb that cannot even open its window ends within this time.
constexpr milliseconds kEarlyEndWait{500};
// An orb reads its record and takes its cell four seconds after its start.
constexpr std::chrono::seconds kStartUpWait{8};
// One that failed its start-up acts on its end-of-processing file within
// two seconds.
constexpr std::chrono::seconds kFailedEndWait{3};
constexpr milliseconds kPoll{100};

template <typename Pending>
void WaitWhile(Pending pending, Clock::duration limit) {
  const auto deadline = Clock::now() + limit;
  while (pending() && Clock::now() < deadline) {
    std::this_thread::sleep_for(kPoll);
  }
}

bool Live(pid_t pid, const std::filesystem::path& dir) {
  return InspectOrbProcess(pid, dir).has_value();
}

// Which mode a pid file stem belongs to, empty for none.
std::string ModeOfStem(std::string_view stem) {
  for (std::string_view mode : ModeWords()) {
    if (stem.size() == mode.size() + 4 && stem.starts_with(mode) &&
        IsDigits(stem.substr(mode.size()))) {
      return std::string(mode);
    }
  }
  return {};
}

// Whether the orb runs, or an orb process of its mode may be it.
bool MayRun(const OrbCondition& condition) {
  return condition.process == ProcessState::kRunning ||
         condition.process == ProcessState::kUnknown;
}

bool LockNameInUse(const std::string& lock_name,
                   const std::vector<OrbCondition>& wall) {
  return std::any_of(wall.begin(), wall.end(), [&](const OrbCondition& other) {
    return MayRun(other) &&
           other.orb.record.LockName(other.orb.mode_word) == lock_name;
  });
}

std::set<std::string> ModesOf(const std::vector<OrbCondition>& orbs) {
  std::set<std::string> modes;
  for (const OrbCondition& condition : orbs) {
    modes.insert(condition.orb.mode_word);
  }
  return modes;
}

std::string Counted(size_t count, const std::string& word) {
  return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

std::set<std::string> StemsOf(const std::vector<OrbCondition>& orbs) {
  std::set<std::string> stems;
  for (const OrbCondition& condition : orbs) {
    stems.insert(condition.orb.stem());
  }
  return stems;
}

std::vector<std::string> PidFileStems(const std::filesystem::path& dir) {
  std::vector<std::string> stems;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
    if (entry.path().extension() == ".pid") {
      stems.push_back(entry.path().stem().string());
    }
  }
  return stems;
}

// Whether an orb started, noting it among those started when it did.
bool Track(std::optional<LaunchedOrb> launched, StartedOrbs& started) {
  if (!launched) return false;
  started.push_back(std::move(*launched));
  return true;
}

}  // namespace

WallLauncher::WallLauncher(const WallOptions& options,
                           std::filesystem::path dir, std::ostream& out,
                           std::ostream& err)
    : options_(options),
      dir_(std::move(dir)),
      launcher_(dir_),
      product_(FindProduct(SelfExecutable(), options.bin_dir)),
      out_(out),
      err_(err) {}

std::filesystem::path WallLauncher::CompanionDir() const {
  if (!options_.companion_dir.empty()) {
    return std::filesystem::absolute(options_.companion_dir);
  }
  return launcher_.RememberedCompanion().value_or(dir_);
}

void WallLauncher::RememberGivenCompanion() {
  if (!options_.companion_dir.empty()) {
    launcher_.RememberCompanion(CompanionDir());
  }
}

void WallLauncher::LinkProduct(const std::vector<OrbCondition>& orbs) {
  MadeLinks made = launcher_.ReadMadeLinks();
  const MadeLinks before = made;
  // Gauges and Images serve every mode: each problem is told once.
  std::set<std::string> told;
  for (const std::string& mode : ModesOf(orbs)) {
    const ProductLinks links = LinkProductFiles(dir_, mode, product_, made);
    for (const std::string& note : links.notes) out_ << note << "\n";
    for (const std::string& problem : links.problems) {
      if (told.insert(problem).second) err_ << "vigil: " << problem << "\n";
    }
  }
  if (made != before) launcher_.WriteMadeLinks(made);
}

std::optional<LaunchedOrb> WallLauncher::Launch(
    const WallOrb& orb, const std::optional<std::string>& carry_over) {
  const std::filesystem::path executable = product_.bin_dir / orb.mode_word;
  if (access(executable.c_str(), X_OK) != 0) {
    err_ << "vigil: cannot run " << executable.string()
         << " (--bin names its folder)\n";
    return std::nullopt;
  }
  if (!launcher_.MakeDir()) {
    err_ << "vigil: cannot create " << launcher_.dir().string() << "\n";
    return std::nullopt;
  }
  // A launcher writes blanks as ";", so that the path stays one word.
  std::string companion = CompanionDir().string();
  std::replace(companion.begin(), companion.end(), ' ', ';');
  std::vector<std::string> arguments = {companion, orb.number};
  if (carry_over) arguments.push_back(*carry_over);
  const std::time_t start = std::time(nullptr);
  const Result<pid_t> pid = LaunchDetached(
      {executable, arguments, dir_, launcher_.OutputFile(orb.stem())});
  if (!pid) {
    err_ << "vigil: " << orb.stem() << ": " << pid.error() << "\n";
    return std::nullopt;
  }
  if (!launcher_.WritePid(orb.stem(), *pid)) {
    err_ << "vigil: cannot write " << launcher_.PidFile(orb.stem()).string()
         << "\n";
  }
  return LaunchedOrb{orb, *pid, start, {}};
}

void WallLauncher::RemoveWaitMarker(const std::string& mode,
                                    const std::string& number) {
  RemoveFile(CompanionFiles(dir_, mode, number).Marker(kWaitMarker));
}

std::optional<LaunchedOrb> WallLauncher::LaunchFresh(const WallOrb& orb) {
  // A request nobody took would end the new orb at once.
  RemoveFile(
      CompanionFiles(dir_, orb.mode_word, orb.number).EndOfProcessingFile());
  RemoveWaitMarker(orb.mode_word, orb.number);
  auto launched = Launch(orb, std::nullopt);
  if (launched) {
    launched->note = "started " + orb.stem() + " (pid " +
                     std::to_string(launched->pid) + ")";
  }
  return launched;
}

std::optional<LaunchedOrb> WallLauncher::Revive(
    const OrbCondition& condition, const std::vector<OrbCondition>& wall) {
  const WallOrb& orb = condition.orb;
  const CompanionFiles files(dir_, orb.mode_word, orb.number);
  const CarryOver carry = RecoverCarryOver(ReadResultLines(files.WorkFile()),
                                           orb.mode_word, orb.record);
  // The profile would refuse the new orb as a duplicate, the request
  // would end it at once.
  RemoveFile(files.AttachedProfile());
  RemoveFile(files.EndOfProcessingFile());
  // Its colour is no news of the new orb, which keeps a marker it finds.
  files.ClearMarkers();
  RemoveWaitMarker(orb.mode_word, orb.number);
  ReleaseLeftLock(orb, wall);
  const auto text =
      carry.value ? std::optional<std::string>(CarryOverText(*carry.value))
                  : std::nullopt;
  auto launched = Launch(orb, text);
  if (!launched) return std::nullopt;
  launched->note = "restarted " + orb.stem() + " (pid " +
                   std::to_string(launched->pid) + ") " +
                   (text ? "with carried-over value " + *text
                         : "without a carried-over value: " + carry.reason);
  return launched;
}

void WallLauncher::ReleaseLeftLock(const WallOrb& orb,
                                   const std::vector<OrbCondition>& wall) {
  const std::string lock_name = orb.record.LockName(orb.mode_word);
  const std::filesystem::path lock =
      CompanionFiles(dir_, orb.mode_word, orb.number).LockFile(lock_name);
  if (lock_name.empty() || !FileExists(lock)) return;
  // With no running orb of that lock name nobody else can hold it.
  if (LockNameInUse(lock_name, wall)) {
    out_ << lock.filename().string()
         << " is left: a running orb shares its lock name\n";
    return;
  }
  RemoveFile(lock);
  out_ << "removed " << lock.filename().string() << " left by " << orb.stem()
       << "\n";
}

void WallLauncher::SayWhyItEnded(const LaunchedOrb& launched,
                                 const std::string& reason) {
  const std::string stem = launched.orb.stem();
  if (!reason.empty()) {
    err_ << "vigil: " << stem << " did not start: " << reason << "\n";
    return;
  }
  const std::filesystem::path output = launcher_.OutputFile(stem);
  err_ << "vigil: " << stem << " ended at once; " << output.string()
       << " ends:\n";
  const auto lines = ReadLines(output).value_or(std::vector<std::string>{});
  const size_t from = lines.size() > 3 ? lines.size() - 3 : 0;
  for (size_t i = from; i < lines.size(); ++i) {
    err_ << "  " << lines[i] << "\n";
  }
}

int WallLauncher::ReportEarlyEnds(const StartedOrbs& started) {
  if (started.empty()) return 0;
  std::this_thread::sleep_for(kEarlyEndWait);
  int status = 0;
  for (const LaunchedOrb& launched : started) {
    if (Live(launched.pid, dir_)) continue;
    status = 1;
    SayWhyItEnded(launched, {});
  }
  return status;
}

int WallLauncher::ConfirmStartUps(const StartedOrbs& started) {
  if (started.empty()) return 0;
  out_ << "waiting up to " << kStartUpWait.count() << " s for the start-up of "
       << Counted(started.size(), "orb") << "\n"
       << std::flush;
  const std::vector<StartUpOutcome> outcomes = AwaitStartUps(
      dir_, started, std::chrono::duration_cast<milliseconds>(kStartUpWait));
  int status = 0;
  std::vector<StopTarget> failed;
  for (size_t i = 0; i < started.size(); ++i) {
    const LaunchedOrb& launched = started[i];
    const WallOrb& orb = launched.orb;
    const StartUpOutcome& outcome = outcomes[i];
    if (outcome.result == StartUp::kPassed) {
      out_ << launched.note << "\n";
      continue;
    }
    status = 1;
    if (outcome.result == StartUp::kEnded) {
      SayWhyItEnded(launched, outcome.reason);
    } else if (outcome.result == StartUp::kFailed) {
      // It shows its error until someone clicks it away: nobody will.
      err_ << "vigil: " << orb.stem() << " did not start: " << outcome.reason
           << " (vigil ends it)\n";
      failed.push_back(AskToEnd(orb.mode_word, orb.number, launched.pid));
    } else {
      err_ << "vigil: " << orb.stem() << " (pid " << launched.pid
           << ") has not passed its start-up after " << kStartUpWait.count()
           << " s; vigil status tells how it goes on\n";
    }
  }
  if (failed.empty()) return status;
  AwaitEnds(failed, kFailedEndWait);
  for (const StopTarget& target : failed) {
    if (StillRunning(target)) {
      err_ << "vigil: " << target.stem << " (pid " << target.pid
           << ") did not end\n";
    } else {
      RemoveFile(target.request);
      RemoveFile(target.wait_marker);
    }
  }
  return status;
}

int WallLauncher::Start(const std::vector<OrbCondition>& orbs,
                        const std::vector<OrbCondition>& wall) {
  RememberGivenCompanion();
  LinkProduct(orbs);
  const std::set<std::string> modes = ModesOf(orbs);
  const WallFindings findings =
      CheckWall(dir_, std::vector<std::string>(modes.begin(), modes.end()),
                CompanionDir());
  int status = 0;
  StartedOrbs started;
  for (const OrbCondition& condition : orbs) {
    if (!StartOne(condition, wall, findings, started)) status = 1;
  }
  return std::max(status, ConfirmStartUps(started));
}

bool WallLauncher::Refused(const WallOrb& orb, const WallFindings& findings) {
  const std::vector<std::string> problems = findings.Of(orb);
  if (problems.empty()) return false;
  err_ << "vigil: " << orb.stem()
       << (options_.force ? " starts despite " : " not started: ")
       << Counted(problems.size(), "problem") << " vigil check finds"
       << (options_.force ? " (--force)" : " (--force starts it anyway)")
       << ":\n";
  for (const std::string& problem : problems) err_ << "  " << problem << "\n";
  return !options_.force;
}

bool WallLauncher::StartOne(const OrbCondition& condition,
                            const std::vector<OrbCondition>& wall,
                            const WallFindings& findings,
                            StartedOrbs& started) {
  const WallOrb& orb = condition.orb;
  switch (condition.process) {
    case ProcessState::kRunning:
      AdoptRunning(condition);
      return true;
    case ProcessState::kUnknown:
      err_ << "vigil: " << orb.stem()
           << " not started: its attached profile is there and an "
           << orb.mode_word << " process of this directory may be it\n";
      return false;
    case ProcessState::kCrashed:
      return !Refused(orb, findings) && Track(Revive(condition, wall), started);
    case ProcessState::kStopped:
    case ProcessState::kEnded:
      return !Refused(orb, findings) && Track(LaunchFresh(orb), started);
  }
  return false;
}

void WallLauncher::AdoptRunning(const OrbCondition& condition) {
  const WallOrb& orb = condition.orb;
  out_ << orb.stem() << " runs already (pid " << condition.pid << ")\n";
  if (condition.moved_from.empty() &&
      launcher_.ReadPid(orb.stem()) != condition.pid) {
    launcher_.WritePid(orb.stem(), condition.pid);
  }
}

int WallLauncher::Restart(const std::vector<OrbCondition>& orbs,
                          const std::vector<OrbCondition>& wall, bool quiet) {
  RememberGivenCompanion();
  int status = 0;
  StartedOrbs started;
  for (const OrbCondition& condition : orbs) {
    if (!RestartOne(condition, wall, quiet, started)) status = 1;
  }
  if (!quiet && started.empty() && status == 0) {
    out_ << "nothing to restart: no orb ended abnormally\n";
  }
  return std::max(status, ReportEarlyEnds(started));
}

bool WallLauncher::RestartOne(const OrbCondition& condition,
                              const std::vector<OrbCondition>& wall, bool quiet,
                              StartedOrbs& started) {
  const WallOrb& orb = condition.orb;
  if (condition.process == ProcessState::kCrashed) {
    LinkProduct({condition});
    if (!Track(Revive(condition, wall), started)) return false;
    out_ << started.back().note << "\n";
    return true;
  }
  if (!quiet && condition.process == ProcessState::kEnded) {
    out_ << orb.stem()
         << " ended through its own clean-up: left alone (vigil start "
            "starts it)\n";
  } else if (!quiet && condition.process == ProcessState::kUnknown) {
    out_ << orb.stem()
         << " left alone: an orb process may still be it (see vigil "
            "status)\n";
  }
  return true;
}

int WallLauncher::Stop(const std::vector<OrbCondition>& orbs,
                       const std::vector<OrbCondition>& wall, bool whole_wall) {
  std::vector<StopTarget> targets;
  for (const OrbCondition& condition : orbs) {
    const WallOrb& orb = condition.orb;
    if (MayRun(condition)) {
      targets.push_back(AskToEnd(orb.mode_word, orb.number, condition.pid));
    } else {
      launcher_.RemovePid(orb.stem());
      RemoveWaitMarker(orb.mode_word, orb.number);
    }
  }
  if (whole_wall) AskUnrecorded(orbs, wall, targets);
  if (targets.empty()) {
    out_ << "no orb was running\n";
    return 0;
  }
  AwaitEnds(targets, options_.wait);
  return ReportStops(targets);
}

int WallLauncher::Remove(const std::vector<OrbCondition>& orbs,
                         const std::vector<OrbCondition>& wall) {
  int status = 0;
  std::vector<OrbCondition> removable;
  std::vector<OrbCondition> running;
  for (const OrbCondition& condition : orbs) {
    if (!MayRun(condition)) {
      removable.push_back(condition);
    } else if (options_.stop) {
      running.push_back(condition);
    } else {
      err_ << "vigil: " << condition.orb.stem()
           << " runs; its lines stay (--stop ends it first)\n";
      status = 1;
    }
  }
  if (!running.empty()) {
    Stop(running, wall, /*whole_wall=*/false);
    for (const OrbCondition& condition : running) {
      const CompanionFiles files(dir_, condition.orb.mode_word,
                                 condition.orb.number);
      if (FileExists(files.AttachedProfile())) {
        err_ << "vigil: " << condition.orb.stem()
             << " did not end; its lines stay\n";
        status = 1;
      } else {
        removable.push_back(condition);
      }
    }
  }
  for (const OrbCondition& condition : removable) {
    const WallOrb& orb = condition.orb;
    const std::string file = OrbsFileName(orb.mode_word);
    const SaveOutcome outcome =
        RemoveFromOrbsFile(dir_ / file, orb.mode_word, orb.number);
    if (outcome != SaveOutcome::kSaved) {
      err_ << "vigil: " << file << " could not be rewritten; orb " << orb.number
           << " stays in it\n";
      status = 1;
      continue;
    }
    launcher_.RemovePid(orb.stem());
    out_ << "removed orb " << orb.number << " from " << file << "\n";
  }
  return status;
}

WallLauncher::StopTarget WallLauncher::AskToEnd(const std::string& mode,
                                                const std::string& number,
                                                pid_t pid) const {
  const CompanionFiles files(dir_, mode, number);
  CreateExclusively(files.EndOfProcessingFile());
  return {mode + number, pid, files.AttachedProfile(),
          files.EndOfProcessingFile(), files.Marker(kWaitMarker)};
}

void WallLauncher::AskUnrecorded(const std::vector<OrbCondition>& orbs,
                                 const std::vector<OrbCondition>& wall,
                                 std::vector<StopTarget>& targets) {
  const std::set<std::string> known = StemsOf(wall);
  const std::set<std::string> modes = ModesOf(orbs);
  for (const std::string& stem : PidFileStems(launcher_.dir())) {
    const std::string mode = ModeOfStem(stem);
    if (mode.empty() || !modes.contains(mode) || known.contains(stem)) {
      continue;
    }
    const auto pid = launcher_.ReadPid(stem);
    if (pid && Live(*pid, dir_)) {
      targets.push_back(AskToEnd(mode, stem.substr(mode.size()), *pid));
    } else {
      launcher_.RemovePid(stem);
    }
  }
}

bool WallLauncher::StillRunning(const StopTarget& target) const {
  return target.pid != 0 ? Live(target.pid, dir_) : FileExists(target.profile);
}

void WallLauncher::AwaitEnds(const std::vector<StopTarget>& targets,
                             std::chrono::seconds wait) {
  const auto any_running = [&] {
    return std::any_of(
        targets.begin(), targets.end(),
        [this](const StopTarget& target) { return StillRunning(target); });
  };
  WaitWhile(any_running, wait);
  if (!any_running()) return;
  for (const StopTarget& target : targets) {
    if (target.pid != 0 && StillRunning(target)) {
      out_ << target.stem << " did not end within " << wait.count()
           << " s: SIGTERM\n";
      kill(target.pid, SIGTERM);
    }
  }
  WaitWhile(any_running, kTermWait);
}

int WallLauncher::ReportStops(const std::vector<StopTarget>& targets) {
  int status = 0;
  for (const StopTarget& target : targets) {
    if (StillRunning(target)) {
      err_ << "vigil: " << target.stem;
      if (target.pid != 0) err_ << " (pid " << target.pid << ")";
      err_ << " did not end\n";
      status = 1;
      continue;
    }
    launcher_.RemovePid(target.stem);
    RemoveFile(target.request);
    RemoveFile(target.wait_marker);
    out_ << "stopped " << target.stem << "\n";
  }
  return status;
}

}  // namespace vigil::cli
