// What vigil check finds that concerns each orb of a wall before it is
// started: its record, its satellite lines and the files its record names,
// and the header line, which every orb of the mode reads.
#ifndef VIGIL_TOOLS_VIGIL_WALL_FINDINGS_H_
#define VIGIL_TOOLS_VIGIL_WALL_FINDINGS_H_

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "vigil/wall_orbs.h"

namespace vigil::cli {

struct WallFindings {
  // "FILE:LINE:COLUMN: message" as vigil check prints them, by stem; the
  // header's by mode word.
  std::map<std::string, std::vector<std::string>> texts;

  // The header's, then the orb's own, each in line order.
  std::vector<std::string> Of(const WallOrb& orb) const;
};

// The orbs files of these modes in dir, with the records' files looked
// for in companion_dir, then in dir, as the orbs look for them.
WallFindings CheckWall(const std::filesystem::path& dir,
                       const std::vector<std::string>& modes,
                       const std::filesystem::path& companion_dir);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_WALL_FINDINGS_H_
