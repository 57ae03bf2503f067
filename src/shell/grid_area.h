// Where on the desktop a wall's grid lies: the monitor its header names,
// found among the monitors the desktop has now.
#ifndef VIGIL_SHELL_GRID_AREA_H_
#define VIGIL_SHELL_GRID_AREA_H_

#include <string>
#include <vector>

#include "shell/grid_placement.h"
#include "store/grid_monitor.h"

namespace vigil {

struct DesktopMonitor {
  std::string name;     // the output's name, e.g. "HDMI-1"
  WindowRect geometry;  // in desktop coordinates
  bool primary = false;
  friend bool operator==(const DesktopMonitor&,
                         const DesktopMonitor&) = default;
};

struct GridArea {
  WindowRect area;
  // Set when the named monitor is not there and the grid went to the
  // primary screen: what the event log says.
  std::string missing;
};

// Monitors count from 1 from left to right, then top to bottom. The whole
// desktop is the rectangle around all monitors. Without any monitor the
// grid keeps a 1920 x 1080 area at the origin.
GridArea ChooseGridArea(const GridMonitor& wanted,
                        const std::vector<DesktopMonitor>& monitors);

}  // namespace vigil

#endif  // VIGIL_SHELL_GRID_AREA_H_
