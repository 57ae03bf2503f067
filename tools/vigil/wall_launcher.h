// Starts, stops and restarts the orbs of one working directory as a
// launcher does, and says what it did.
#ifndef VIGIL_TOOLS_VIGIL_WALL_LAUNCHER_H_
#define VIGIL_TOOLS_VIGIL_WALL_LAUNCHER_H_

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "vigil/launcher_files.h"
#include "vigil/launcher_product.h"
#include "vigil/wall_findings.h"
#include "vigil/wall_options.h"
#include "vigil/wall_startup.h"
#include "vigil/wall_survey.h"

namespace vigil::cli {

// Orbs started in one go.
using StartedOrbs = std::vector<LaunchedOrb>;

class WallLauncher {
 public:
  WallLauncher(const WallOptions& options, std::filesystem::path dir,
               std::ostream& out, std::ostream& err);

  // Each takes the orbs to act on and the whole wall's survey, and returns
  // the exit status: 0 when every orb is as asked, 1 otherwise.
  //
  // Starts every orb that does not run and whose lines vigil check finds
  // sound (any with --force); one that crashed comes back as a restart
  // brings it. Then waits for their start-ups and ends those that failed.
  int Start(const std::vector<OrbCondition>& orbs,
            const std::vector<OrbCondition>& wall);
  // End-of-processing files first, SIGTERM after the wait.
  int Stop(const std::vector<OrbCondition>& orbs,
           const std::vector<OrbCondition>& wall, bool whole_wall);
  // Takes the orbs' lines out of their orbs files; a running orb is
  // refused, or with --stop ended first. The other lines keep their bytes.
  int Remove(const std::vector<OrbCondition>& orbs,
             const std::vector<OrbCondition>& wall);
  // Only the orbs that crashed. quiet: say nothing about orbs left alone.
  int Restart(const std::vector<OrbCondition>& orbs,
              const std::vector<OrbCondition>& wall, bool quiet);

 private:
  // An orb asked to end, and the process or file that tells it has.
  struct StopTarget {
    std::string stem;
    pid_t pid = 0;  // 0: known only by its attached profile
    std::filesystem::path profile;
    std::filesystem::path request;
    std::filesystem::path wait_marker;
  };

  std::filesystem::path CompanionDir() const;
  // A companion directory given now is the one of later starts too.
  void RememberGivenCompanion();
  void LinkProduct(const std::vector<OrbCondition>& orbs);
  // Each returns false when the orb could not be started; an orb that
  // did start joins started.
  bool StartOne(const OrbCondition& condition,
                const std::vector<OrbCondition>& wall,
                const WallFindings& findings, StartedOrbs& started);
  // Whether the problems vigil check finds keep the orb from starting;
  // says which either way.
  bool Refused(const WallOrb& orb, const WallFindings& findings);
  bool RestartOne(const OrbCondition& condition,
                  const std::vector<OrbCondition>& wall, bool quiet,
                  StartedOrbs& started);
  // One started by another launcher is vigil's to stop from now on.
  void AdoptRunning(const OrbCondition& condition);
  std::optional<LaunchedOrb> LaunchFresh(const WallOrb& orb);
  // Clears what a crashed orb left that would stop its successor or
  // mislead the operator, and starts it with its carried-over value when
  // one can be recovered.
  std::optional<LaunchedOrb> Revive(const OrbCondition& condition,
                                    const std::vector<OrbCondition>& wall);
  // A lock the crashed orb held keeps its siblings waiting for ever.
  void ReleaseLeftLock(const WallOrb& orb,
                       const std::vector<OrbCondition>& wall);
  std::optional<LaunchedOrb> Launch(
      const WallOrb& orb, const std::optional<std::string>& carry_over);
  // A wait marker of an orb that does not run tells of no wait.
  void RemoveWaitMarker(const std::string& mode, const std::string& number);
  // Orbs that ended within moments of their start, with their last words.
  int ReportEarlyEnds(const StartedOrbs& started);
  // Says which orbs passed their start-up and which did not and why, and
  // ends those that failed it and still show so.
  int ConfirmStartUps(const StartedOrbs& started);
  void SayWhyItEnded(const LaunchedOrb& launched, const std::string& reason);

  StopTarget AskToEnd(const std::string& mode, const std::string& number,
                      pid_t pid) const;
  // Pid files of numbers that no record has any more: the record was
  // removed, or its orb was dragged away and is asked already.
  void AskUnrecorded(const std::vector<OrbCondition>& orbs,
                     const std::vector<OrbCondition>& wall,
                     std::vector<StopTarget>& targets);
  bool StillRunning(const StopTarget& target) const;
  // Waits for every target, with SIGTERM for those that outlast the wait.
  void AwaitEnds(const std::vector<StopTarget>& targets,
                 std::chrono::seconds wait);
  int ReportStops(const std::vector<StopTarget>& targets);

  WallOptions options_;
  std::filesystem::path dir_;
  LauncherFiles launcher_;
  ProductLayout product_;
  std::ostream& out_;
  std::ostream& err_;
};

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_WALL_LAUNCHER_H_
