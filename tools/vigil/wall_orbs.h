// The orbs of a wall: every record of the orbs files in one working
// directory, read with the orb's own scan.
#ifndef VIGIL_TOOLS_VIGIL_WALL_ORBS_H_
#define VIGIL_TOOLS_VIGIL_WALL_ORBS_H_

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "store/config_record.h"

namespace vigil::cli {

struct WallOrb {
  std::string mode_word;
  std::string number;
  ConfigRecord record;

  std::string stem() const { return mode_word + number; }
};

// The numbers of an orbs file's records in file order, each once; the
// header line and satellite lines are no records.
std::vector<std::string> RecordNumbers(const std::vector<std::string>& lines,
                                       std::string_view mode_word);

struct WallScan {
  std::vector<WallOrb> orbs;
  std::vector<std::string> modes;  // those whose orbs file was read
  std::string error;               // set when nothing could be read
};

// The orbs of these modes (empty: of every mode whose orbs file is there).
WallScan ReadWall(const std::filesystem::path& dir,
                  const std::vector<std::string>& modes);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_WALL_ORBS_H_
