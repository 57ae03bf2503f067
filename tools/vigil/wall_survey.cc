#include "vigil/wall_survey.h"

#include <algorithm>
#include <map>

#include "store/companion_files.h"
#include "store/event_log.h"
#include "store/orb_names.h"
#include "store/text.h"
#include "store/text_file.h"
#include "vigil/orbs_file_input.h"

namespace vigil::cli {
namespace {

// "DD.MM.YY hh:mm:ss" as "YYMMDDhhmmss", which sorts in time order.
std::optional<std::string> LogTimeKey(std::string_view line) {
  const std::string date = Mid(line, 1, 8);
  const std::string time = Mid(line, 10, 8);
  const std::string key = Mid(date, 7, 2) + Mid(date, 4, 2) + Mid(date, 1, 2) +
                          Mid(time, 1, 2) + Mid(time, 4, 2) + Mid(time, 7, 2);
  if (key.size() != 12 || !IsDigits(key)) return std::nullopt;
  return key;
}

std::string TimeKey(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char key[16] = {};
  std::strftime(key, sizeof key, "%y%m%d%H%M%S", &local);
  return key;
}

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

// What the files say, before any process is looked at.
OrbCondition ConditionFromFiles(const std::filesystem::path& dir,
                                const WallOrb& orb,
                                const LauncherFiles& launcher,
                                const std::vector<std::string>& log_lines) {
  const CompanionFiles files(dir, orb.mode_word, orb.number);
  OrbCondition condition;
  condition.orb = orb;
  condition.marker = MarkerState(files);
  condition.last_event = LastEventOf(log_lines, orb.number);
  EndEvidence& evidence = condition.evidence;
  evidence.pid_file = FileExists(launcher.PidFile(orb.stem()));
  evidence.profile_left = FileExists(files.AttachedProfile());
  evidence.work_file_left = FileExists(files.WorkFile());
  const auto start = launcher.StartTime(orb.stem());
  evidence.stop_logged_since_start =
      start && StopLoggedSince(condition.last_event, *start);
  return condition;
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
  return evidence.stop_logged_since_start ? ProcessState::kEnded
                                          : ProcessState::kCrashed;
}

bool StopLoggedSince(std::string_view last_event, std::time_t start) {
  if (Mid(last_event, 19, 4) != "Stop") return false;
  const auto logged = LogTimeKey(last_event);
  return logged && *logged >= TimeKey(start);
}

std::string LastEventOf(const std::vector<std::string>& log_lines,
                        std::string_view number) {
  // Columns 24-27 hold the orb number after date, time and event code.
  for (auto line = log_lines.rbegin(); line != log_lines.rend(); ++line) {
    if (Mid(*line, 24, 4) == number && Mid(*line, 28, 1) == " ") return *line;
  }
  return {};
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
  return conditions;
}

}  // namespace vigil::cli
