#include "vigil/wall_startup.h"

#include <map>
#include <thread>

#include "store/companion_files.h"
#include "store/event_log.h"
#include "store/text_file.h"
#include "vigil/launcher_process.h"
#include "vigil/wall_events.h"

namespace vigil::cli {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kPoll{100};

using EventLogs = std::map<std::string, std::vector<std::string>>;

// One look at one orb; profile_seen carries the look before, so that a
// profile it wrote a moment before failing is not taken for a pass.
StartUpOutcome Look(const std::filesystem::path& dir,
                    const LaunchedOrb& launched,
                    const std::vector<std::string>& log_lines,
                    bool& profile_seen) {
  const WallOrb& orb = launched.orb;
  const OrbLog log = ReadOrbLog(log_lines, orb.number, launched.start);
  if (!InspectOrbProcess(launched.pid, dir)) {
    const std::string& failure =
        log.own_failure.empty() ? log.unnamed_failure : log.own_failure;
    return {StartUp::kEnded, MessageOf(failure)};
  }
  if (!log.own_failure.empty()) {
    return {StartUp::kFailed, MessageOf(log.own_failure)};
  }
  const bool profile = FileExists(
      CompanionFiles(dir, orb.mode_word, orb.number).AttachedProfile());
  if (profile && profile_seen) return {StartUp::kPassed, {}};
  profile_seen = profile;
  return {};
}

EventLogs ReadLogs(const std::filesystem::path& dir,
                   const std::vector<LaunchedOrb>& orbs) {
  EventLogs logs;
  for (const LaunchedOrb& launched : orbs) {
    const std::string& mode = launched.orb.mode_word;
    if (logs.contains(mode)) continue;
    logs[mode] = ReadLines(dir / EventLogName(mode))
                     .value_or(std::vector<std::string>{});
  }
  return logs;
}

// At the limit, a running orb whose mode logged a failure without a
// number since its start most likely logged it.
void SettleAtLimit(const std::filesystem::path& dir,
                   const std::vector<LaunchedOrb>& orbs,
                   std::vector<StartUpOutcome>& outcomes) {
  EventLogs logs = ReadLogs(dir, orbs);
  for (size_t i = 0; i < orbs.size(); ++i) {
    if (outcomes[i].result != StartUp::kPending) continue;
    const LaunchedOrb& launched = orbs[i];
    const std::string failure = ReadOrbLog(logs[launched.orb.mode_word],
                                           launched.orb.number, launched.start)
                                    .unnamed_failure;
    if (!failure.empty()) outcomes[i] = {StartUp::kFailed, MessageOf(failure)};
  }
}

}  // namespace

std::vector<StartUpOutcome> AwaitStartUps(const std::filesystem::path& dir,
                                          const std::vector<LaunchedOrb>& orbs,
                                          std::chrono::milliseconds limit) {
  std::vector<StartUpOutcome> outcomes(orbs.size());
  std::vector<bool> profile_seen(orbs.size(), false);
  const auto deadline = Clock::now() + limit;
  for (;;) {
    EventLogs logs = ReadLogs(dir, orbs);
    bool pending = false;
    for (size_t i = 0; i < orbs.size(); ++i) {
      if (outcomes[i].result != StartUp::kPending) continue;
      bool seen = profile_seen[i];
      outcomes[i] = Look(dir, orbs[i], logs[orbs[i].orb.mode_word], seen);
      profile_seen[i] = seen;
      pending = pending || outcomes[i].result == StartUp::kPending;
    }
    if (!pending || Clock::now() >= deadline) break;
    std::this_thread::sleep_for(kPoll);
  }
  SettleAtLimit(dir, orbs, outcomes);
  return outcomes;
}

}  // namespace vigil::cli
