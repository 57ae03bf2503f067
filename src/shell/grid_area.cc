#include "shell/grid_area.h"

#include <algorithm>
#include <utility>

namespace vigil {
namespace {

constexpr WindowRect kNoMonitorArea{0, 0, 1920, 1080};

WindowRect PrimaryArea(const std::vector<DesktopMonitor>& monitors) {
  if (monitors.empty()) return kNoMonitorArea;
  const auto primary = std::find_if(
      monitors.begin(), monitors.end(),
      [](const DesktopMonitor& monitor) { return monitor.primary; });
  return primary != monitors.end() ? primary->geometry
                                   : monitors.front().geometry;
}

WindowRect DesktopArea(const std::vector<DesktopMonitor>& monitors) {
  if (monitors.empty()) return kNoMonitorArea;
  int left = monitors.front().geometry.left;
  int top = monitors.front().geometry.top;
  int right = left;
  int bottom = top;
  for (const DesktopMonitor& monitor : monitors) {
    const WindowRect& rect = monitor.geometry;
    left = std::min(left, rect.left);
    top = std::min(top, rect.top);
    right = std::max(right, rect.left + rect.width);
    bottom = std::max(bottom, rect.top + rect.height);
  }
  return {left, top, right - left, bottom - top};
}

const DesktopMonitor* NumberedMonitor(
    int number, const std::vector<DesktopMonitor>& monitors) {
  std::vector<const DesktopMonitor*> ordered;
  for (const DesktopMonitor& monitor : monitors) ordered.push_back(&monitor);
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const DesktopMonitor* a, const DesktopMonitor* b) {
                     return std::pair(a->geometry.left, a->geometry.top) <
                            std::pair(b->geometry.left, b->geometry.top);
                   });
  if (number < 1 || number > static_cast<int>(ordered.size())) return nullptr;
  return ordered[number - 1];
}

const DesktopMonitor* NamedMonitor(
    const std::string& name, const std::vector<DesktopMonitor>& monitors) {
  const auto found = std::find_if(
      monitors.begin(), monitors.end(),
      [&](const DesktopMonitor& monitor) { return monitor.name == name; });
  return found != monitors.end() ? &*found : nullptr;
}

std::string MissingText(const GridMonitor& wanted,
                        const std::vector<DesktopMonitor>& monitors) {
  std::string names;
  for (const DesktopMonitor& monitor : monitors) {
    names += (names.empty() ? "" : ", ") + monitor.name;
  }
  return "No " + DescribeGridMonitor(wanted) + " on this desktop (" + names +
         "): the grid is on the primary screen";
}

}  // namespace

GridArea ChooseGridArea(const GridMonitor& wanted,
                        const std::vector<DesktopMonitor>& monitors) {
  const DesktopMonitor* chosen = nullptr;
  switch (wanted.kind) {
    case GridMonitor::Kind::kPrimary:
      return {PrimaryArea(monitors), {}};
    case GridMonitor::Kind::kDesktop:
      return {DesktopArea(monitors), {}};
    case GridMonitor::Kind::kNumber:
      chosen = NumberedMonitor(wanted.number, monitors);
      break;
    case GridMonitor::Kind::kName:
      chosen = NamedMonitor(wanted.name, monitors);
      break;
  }
  if (chosen) return {chosen->geometry, {}};
  return {PrimaryArea(monitors), MissingText(wanted, monitors)};
}

}  // namespace vigil
