// Reads a wall's files for `vigil serve`: the orbs files, the state
// markers, the work files, the lock files and the event logs, and how each
// orb's process stands. Handlers on several threads share one reader.
#ifndef VIGIL_TOOLS_VIGIL_SERVE_WALL_READER_H_
#define VIGIL_TOOLS_VIGIL_SERVE_WALL_READER_H_

#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "vigil/serve_orb_reading.h"
#include "vigil/serve_wall.h"
#include "vigil/wall_survey.h"

namespace vigil::cli {

// Event-log lines the views carry.
inline constexpr size_t kServedEvents = 12;

class WallReader {
 public:
  // modes empty: every mode whose orbs file is there.
  WallReader(std::filesystem::path dir, std::vector<std::string> modes);

  // The wall now. A look younger than half a second is given again, so
  // that however many clients ask, the files are read twice a second at
  // most.
  ServedWall Look();

 private:
  ServedWall LookNow();
  ServedOrb Describe(const OrbCondition& condition, double now);
  // The result the orb's page shows: its work file, or while it writes it
  // in a cycle, the one read before.
  std::optional<OrbReading> CurrentReading(const WallOrb& orb);

  const std::filesystem::path dir_;
  const std::vector<std::string> modes_;
  std::mutex mutex_;
  std::optional<std::chrono::steady_clock::time_point> looked_at_;
  ServedWall last_look_;
  // By stem: the last result read outside a cycle, and when the last good
  // one was written, which the files keep only until the next cycle.
  std::map<std::string, OrbReading> readings_;
  std::map<std::string, double> good_cycles_;
};

// Values of "password=", "passhash=" and "apitoken=" in a text replaced by
// "***", so that a message quoting a request gives away no credential.
std::string WithoutCredentials(std::string text);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_SERVE_WALL_READER_H_
