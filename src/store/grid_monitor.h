// Which monitor of the desktop holds a wall's grid: a header switch. Rooms
// with several monitors give each wall its own, or one grid over them all.
#ifndef VIGIL_STORE_GRID_MONITOR_H_
#define VIGIL_STORE_GRID_MONITOR_H_

#include <optional>
#include <string>
#include <string_view>

namespace vigil {

struct GridMonitor {
  enum class Kind { kPrimary, kNumber, kName, kDesktop };
  Kind kind = Kind::kPrimary;
  int number = 0;    // kNumber: 1 is the left-most monitor
  std::string name;  // kName: the output's name, as xrandr lists it
  friend bool operator==(const GridMonitor&, const GridMonitor&) = default;
};

// Blank: the primary screen; digits: a monitor's number from 1; "*": the
// whole desktop; another word: an output's name. Nullopt for a number
// below 1 or a text with a blank inside.
std::optional<GridMonitor> ParseGridMonitor(std::string_view field);

// "the primary screen", "monitor 2", "monitor \"HDMI-1\"", "the whole
// desktop".
std::string DescribeGridMonitor(const GridMonitor& monitor);

}  // namespace vigil

#endif  // VIGIL_STORE_GRID_MONITOR_H_
