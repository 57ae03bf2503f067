#include "store/grid_monitor.h"

#include "store/text.h"

namespace vigil {

std::optional<GridMonitor> ParseGridMonitor(std::string_view field) {
  const std::string text = Trim(field);
  GridMonitor monitor;
  if (text.empty()) return monitor;
  if (text.find_first_of(" \t") != std::string::npos) return std::nullopt;
  if (text == "*") {
    monitor.kind = GridMonitor::Kind::kDesktop;
  } else if (IsDigits(text)) {
    const auto number = ParseInteger(text);
    if (!number || *number < 1) return std::nullopt;
    monitor.kind = GridMonitor::Kind::kNumber;
    monitor.number = *number;
  } else {
    monitor.kind = GridMonitor::Kind::kName;
    monitor.name = text;
  }
  return monitor;
}

std::string DescribeGridMonitor(const GridMonitor& monitor) {
  switch (monitor.kind) {
    case GridMonitor::Kind::kPrimary:
      return "the primary screen";
    case GridMonitor::Kind::kNumber:
      return "monitor " + std::to_string(monitor.number);
    case GridMonitor::Kind::kName:
      return "monitor \"" + monitor.name + "\"";
    case GridMonitor::Kind::kDesktop:
      return "the whole desktop";
  }
  return {};
}

}  // namespace vigil
