#include "vigil/wall_survey.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <map>
#include <optional>
#include <tuple>

#include "store/companion_files.h"
#include "store/event_log.h"
#include "store/lock_holder.h"
#include "store/orb_names.h"
#include "store/text_file.h"
#include "vigil/orbs_file_input.h"
#include "vigil/wall_events.h"
#include "vigil/wall_lock_wait.h"

namespace vigil::cli {
namespace {

std::string MarkerState(const CompanionFiles& files) {
  // Only one is ever left; should there be more, the worst one counts.
  if (FileExists(files.Marker(kFailureMarker))) return "failed";
  if (FileExists(files.Marker(kRedMarker))) return "red";
  if (FileExists(files.Marker(kYellowMarker))) return "yellow";
  if (FileExists(files.Marker(kGreenMarker))) return "green";
  return "none";
}

// The orb processes of the directory, each paired with one orb at most.
class ProcessClaims {
 public:
  explicit ProcessClaims(std::vector<OrbProcess> processes)
      : processes_(std::move(processes)), claimed_(processes_.size(), false) {}

  // The first unclaimed process of the orb's mode and number (and pid,
  // when given), now claimed.
  std::optional<pid_t> Claim(const WallOrb& orb, std::optional<pid_t> pid) {
    for (size_t i = 0; i < processes_.size(); ++i) {
      const OrbProcess& process = processes_[i];
      if (claimed_[i] || process.mode_word != orb.mode_word ||
          process.number != orb.number || (pid && process.pid != *pid)) {
        continue;
      }
      claimed_[i] = true;
      return process.pid;
    }
    return std::nullopt;
  }

  std::vector<OrbProcess> Unclaimed(std::string_view mode) const {
    std::vector<OrbProcess> strays;
    for (size_t i = 0; i < processes_.size(); ++i) {
      if (!claimed_[i] && processes_[i].mode_word == mode) {
        strays.push_back(processes_[i]);
      }
    }
    return strays;
  }

 private:
  std::vector<OrbProcess> processes_;
  std::vector<bool> claimed_;
};

using EventLogs = std::map<std::string, std::vector<std::string>>;

// Each mode's event log read once.
EventLogs ReadEventLogs(const std::filesystem::path& dir,
                        const std::vector<WallOrb>& orbs) {
  EventLogs logs;
  for (const WallOrb& orb : orbs) {
    if (logs.contains(orb.mode_word)) continue;
    logs[orb.mode_word] = ReadLines(dir / EventLogName(orb.mode_word))
                              .value_or(std::vector<std::string>{});
  }
  return logs;
}

bool ChangedSince(const std::filesystem::path& file, std::time_t start) {
  struct stat status {};
  return stat(file.c_str(), &status) == 0 && status.st_mtime > start;
}

// Holding its lock, the orb is in a cycle, whose work file tells nothing
// yet.
bool HoldsItsLock(const WallOrb& orb, const CompanionFiles& files) {
  const auto holder = ParseLockHolder(
      ReadFileBytes(files.LockFile(orb.record.LockName(orb.mode_word)))
          .value_or(""));
  return holder && holder->stem == orb.stem();
}

// A marker of this run, or a cycle of this run that has ended: a marker
// left by an earlier run stays untouched while the colour does not change,
// the work file is written anew by every cycle.
bool CycledSince(const WallOrb& orb, const CompanionFiles& files,
                 std::time_t start) {
  const bool marker = std::any_of(
      kAllMarkers.begin(), kAllMarkers.end(), [&](std::string_view marker) {
        return ChangedSince(files.Marker(marker), start);
      });
  return marker ||
         (ChangedSince(files.WorkFile(), start) && !HoldsItsLock(orb, files));
}

std::optional<std::time_t> ProcessStart(pid_t pid) {
  const auto age = ProcessAge(pid);
  if (!age) return std::nullopt;
  const std::chrono::duration<double> now =
      std::chrono::system_clock::now().time_since_epoch();
  return static_cast<std::time_t>(std::floor(now.count() - *age));
}

// What the files say, before any process is looked at.
OrbCondition ConditionFromFiles(const std::filesystem::path& dir,
                                const WallOrb& orb,
                                const LauncherFiles& launcher,
                                const std::vector<std::string>& log_lines) {
  const CompanionFiles files(dir, orb.mode_word, orb.number);
  OrbCondition condition;
  condition.orb = orb;
  const auto start = launcher.StartTime(orb.stem());
  const OrbLog log = ReadOrbLog(log_lines, orb.number, start);
  condition.last_event = log.last_event;
  EndEvidence& evidence = condition.evidence;
  evidence.pid_file = FileExists(launcher.PidFile(orb.stem()));
  evidence.profile_left = FileExists(files.AttachedProfile());
  evidence.work_file_left = FileExists(files.WorkFile());
  evidence.stop_logged_since_start = start && log.stopped;
  evidence.fail_logged_since_start =
      start && (!log.own_failure.empty() || !log.unnamed_failure.empty());
  // One that failed before it read its record could not say its number;
  // one that left its files had read it.
  if (start && condition.last_event.empty() && !evidence.profile_left &&
      !evidence.work_file_left) {
    condition.last_event = log.unnamed_failure;
  }
  return condition;
}

// A running orb's last event and state are those of its own run: the
// previous run's "Stop" and colour are no news of it.
void DescribeRunning(OrbCondition& condition, const std::filesystem::path& dir,
                     const std::vector<std::string>& log_lines) {
  const WallOrb& orb = condition.orb;
  const CompanionFiles files(dir, orb.mode_word, orb.number);
  const auto start = ProcessStart(condition.pid);
  condition.last_event = ReadOrbLog(log_lines, orb.number, start).last_event;
  const bool said = !condition.last_event.empty() || !start ||
                    CycledSince(orb, files, *start);
  condition.marker = said ? MarkerState(files) : "starting";
  condition.lock_wait = LockWaitText(dir, orb.stem());
}

void Describe(OrbCondition& condition, const std::filesystem::path& dir,
              const std::vector<std::string>& log_lines) {
  switch (condition.process) {
    case ProcessState::kRunning:
      DescribeRunning(condition, dir, log_lines);
      return;
    case ProcessState::kUnknown:
      condition.marker = MarkerState(
          CompanionFiles(dir, condition.orb.mode_word, condition.orb.number));
      return;
    case ProcessState::kStopped:
    case ProcessState::kEnded:
    case ProcessState::kCrashed:
      // A marker left behind tells how the orb stood, not how it stands.
      condition.marker = std::string(1, '-');
      return;
  }
}

void MarkRunning(OrbCondition& condition, pid_t pid) {
  condition.process = ProcessState::kRunning;
  condition.pid = pid;
}

// The pid file's process, when it is still this orb.
void ClaimByPidFile(OrbCondition& condition, const std::filesystem::path& dir,
                    const LauncherFiles& launcher, ProcessClaims& claims) {
  const WallOrb& orb = condition.orb;
  const auto pid = launcher.ReadPid(orb.stem());
  if (!pid) return;
  const auto process = InspectOrbProcess(*pid, dir);
  if (!process || process->mode_word != orb.mode_word ||
      process->number != orb.number) {
    return;
  }
  if (const auto claimed = claims.Claim(orb, *pid)) {
    MarkRunning(condition, *claimed);
  }
}

// Orbs started by another launcher, or whose pid file is gone.
void ClaimByNumber(std::vector<OrbCondition>& conditions,
                   ProcessClaims& claims) {
  for (OrbCondition& condition : conditions) {
    if (condition.process == ProcessState::kRunning) continue;
    if (const auto pid = claims.Claim(condition.orb, std::nullopt)) {
      MarkRunning(condition, *pid);
    }
  }
}

// The mode's orbs not seen running whose attached profile is left; the
// others are classified by their files at once.
std::vector<OrbCondition*> ProfilesLeft(std::vector<OrbCondition>& conditions,
                                        std::string_view mode) {
  std::vector<OrbCondition*> left;
  for (OrbCondition& condition : conditions) {
    if (condition.orb.mode_word != mode ||
        condition.process == ProcessState::kRunning) {
      continue;
    }
    if (condition.evidence.profile_left) {
      left.push_back(&condition);
    } else {
      condition.process = ClassifyEnd(condition.evidence);
    }
  }
  return left;
}

// A dragged orb runs under the number it was started with while its
// attached profile carries the new one: pair them when the counts agree.
void PairDraggedOrbs(std::vector<OrbCondition>& conditions,
                     std::string_view mode, const ProcessClaims& claims) {
  const std::vector<OrbProcess> strays = claims.Unclaimed(mode);
  const std::vector<OrbCondition*> left = ProfilesLeft(conditions, mode);
  for (size_t i = 0; i < left.size(); ++i) {
    OrbCondition& condition = *left[i];
    if (strays.empty()) {
      condition.process = ClassifyEnd(condition.evidence);
    } else if (strays.size() == left.size()) {
      MarkRunning(condition, strays[i].pid);
      condition.moved_from = strays[i].number;
    } else {
      condition.process = ProcessState::kUnknown;
    }
  }
}

}  // namespace

std::string_view ProcessStateName(ProcessState state) {
  switch (state) {
    case ProcessState::kRunning:
      return "running";
    case ProcessState::kStopped:
      return "stopped";
    case ProcessState::kEnded:
      return "ended";
    case ProcessState::kCrashed:
      return "crashed";
    case ProcessState::kUnknown:
      return "unknown";
  }
  return "unknown";
}

ProcessState ClassifyEnd(const EndEvidence& evidence) {
  if (evidence.profile_left || evidence.work_file_left) {
    return ProcessState::kCrashed;
  }
  if (!evidence.pid_file) return ProcessState::kStopped;
  return evidence.stop_logged_since_start || evidence.fail_logged_since_start
             ? ProcessState::kEnded
             : ProcessState::kCrashed;
}

std::vector<OrbCondition> SurveyWall(const std::filesystem::path& dir,
                                     const std::vector<WallOrb>& orbs,
                                     const LauncherFiles& launcher) {
  ProcessClaims claims(ScanOrbProcesses(dir));
  EventLogs logs = ReadEventLogs(dir, orbs);
  std::vector<OrbCondition> conditions;
  for (const WallOrb& orb : orbs) {
    OrbCondition condition =
        ConditionFromFiles(dir, orb, launcher, logs[orb.mode_word]);
    ClaimByPidFile(condition, dir, launcher, claims);
    conditions.push_back(std::move(condition));
  }
  ClaimByNumber(conditions, claims);
  for (std::string_view mode : ModeWords()) {
    PairDraggedOrbs(conditions, mode, claims);
  }
  for (OrbCondition& condition : conditions) {
    Describe(condition, dir, logs[condition.orb.mode_word]);
  }
  return conditions;
}

void SortByNumber(std::vector<OrbCondition>& conditions) {
  std::stable_sort(conditions.begin(), conditions.end(),
                   [](const OrbCondition& a, const OrbCondition& b) {
                     return std::tie(a.orb.number, a.orb.mode_word) <
                            std::tie(b.orb.number, b.orb.mode_word);
                   });
}

}  // namespace vigil::cli
