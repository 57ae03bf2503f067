// Starts, stops and restarts the orbs of one working directory as a
// launcher does, and says what it did.
#ifndef VIGIL_TOOLS_VIGIL_WALL_LAUNCHER_H_
#define VIGIL_TOOLS_VIGIL_WALL_LAUNCHER_H_

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "vigil/launcher_files.h"
#include "vigil/launcher_product.h"
#include "vigil/wall_options.h"
#include "vigil/wall_survey.h"

namespace vigil::cli {

class WallLauncher {
 public:
  WallLauncher(const WallOptions& options, std::filesystem::path dir,
               std::ostream& out, std::ostream& err);

  // Each takes the orbs to act on and the whole wall's survey, and returns
  // the exit status: 0 when every orb is as asked, 1 otherwise.
  //
  // Starts every orb that does not run; one that crashed comes back as a
  // restart brings it.
  int Start(const std::vector<OrbCondition>& orbs,
            const std::vector<OrbCondition>& wall);
  // End-of-processing files first, SIGTERM after the wait.
  int Stop(const std::vector<OrbCondition>& orbs,
           const std::vector<OrbCondition>& wall, bool whole_wall);
  // Only the orbs that crashed. quiet: say nothing about orbs left alone.
  int Restart(const std::vector<OrbCondition>& orbs,
              const std::vector<OrbCondition>& wall, bool quiet);

 private:
  std::filesystem::path CompanionDir() const;
  void LinkProduct(const std::vector<OrbCondition>& orbs);
  // Clears what a crashed orb left that would stop its successor, and
  // starts it with its carried-over value when one can be recovered.
  std::optional<pid_t> Revive(const OrbCondition& condition,
                              const std::vector<OrbCondition>& wall);
  std::optional<pid_t> Launch(const WallOrb& orb,
                              const std::optional<std::string>& carry_over);
  // Orbs that ended within moments of their start, with their last words.
  int ReportEarlyEnds(const std::vector<std::pair<WallOrb, pid_t>>& started);

  WallOptions options_;
  std::filesystem::path dir_;
  LauncherFiles launcher_;
  ProductLayout product_;
  std::ostream& out_;
  std::ostream& err_;
};

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_WALL_LAUNCHER_H_
