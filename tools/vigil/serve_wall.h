// What `vigil serve` tells of a wall, gathered from its files at one
// moment: the page, the JSON view and the metrics are drawn from it.
#ifndef VIGIL_TOOLS_VIGIL_SERVE_WALL_H_
#define VIGIL_TOOLS_VIGIL_SERVE_WALL_H_

#include <optional>
#include <string>
#include <vector>

namespace vigil::cli {

struct ServedItem {
  std::string name;
  std::optional<double> value;  // nullopt when the row holds no number
  std::string shown;            // the Data text, as the listing shows it
  std::string unit;
};

struct ServedOrb {
  std::string number;  // "0203"
  std::string stem;    // "AuxOrb0203", unique across the modes
  std::string name;
  std::string mode;
  int row = 1;
  int column = 1;
  int cell_rows = 1;
  int cell_columns = 1;
  std::string face;     // "chart", "listing", "gauge" ...
  std::string process;  // running, stopped, ended, crashed, unknown
  bool runs = false;
  int state_code = 0;  // the codes the orbs announce, 1 green ... 8 resumed
  std::string state;   // the code's word
  std::string colour;  // "#rrggbb": the orb's colour in that state
  std::string frame;   // "#rrggbb": the orb's idle frame colour
  std::optional<double> cycle_age_seconds;       // its last cycle
  std::optional<double> good_cycle_age_seconds;  // its last good cycle
  std::string waiting;  // "waiting for lock ..." while it waits
  std::string no_data;  // why it shows no data, while it does not
  std::vector<ServedItem> items;
};

struct ServedWall {
  std::string name;  // the working directory's name
  int rows = 1;      // the grid, large enough for every orb
  int columns = 1;
  std::vector<ServedOrb> orbs;      // by number, then mode
  std::vector<std::string> events;  // the newest event-log lines, newest first
  std::string error;                // set when the orbs files cannot be read
};

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_SERVE_WALL_H_
