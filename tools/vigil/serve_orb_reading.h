// What an orb's work file says at this moment: its rows as the listing
// shows them, or why the orb shows no data, as the cycle decides it.
#ifndef VIGIL_TOOLS_VIGIL_SERVE_ORB_READING_H_
#define VIGIL_TOOLS_VIGIL_SERVE_ORB_READING_H_

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "vigil/serve_wall.h"
#include "vigil/wall_orbs.h"

namespace vigil::cli {

struct OrbReading {
  std::vector<ServedItem> items;  // sorted as the orb's record sorts them
  std::string no_data;            // empty when the result is good
  double written = 0;             // the work file's time, in Unix seconds
};

// nullopt when the orb has no work file (or it cannot be read).
std::optional<OrbReading> ReadWorkFile(const std::filesystem::path& dir,
                                       const WallOrb& orb);

// When the file was last written, in Unix seconds; nullopt when absent.
std::optional<double> WrittenAt(const std::filesystem::path& file);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_SERVE_ORB_READING_H_
