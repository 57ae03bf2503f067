#include "sensor/memory_usage.h"

#include <map>
#include <string>

#include "common/tool_text.h"

namespace vigil::sensor {
namespace {

// "MemTotal:       24683772 kB" lines as key to kB.
std::map<std::string, double> ReadFields(std::string_view meminfo_text) {
  std::map<std::string, double> fields;
  for (const std::string& line : tools::SplitLines(meminfo_text)) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos || colon == 0) continue;
    const std::vector<std::string> words =
        tools::SplitWords(std::string_view(line).substr(colon + 1));
    if (words.empty()) continue;
    const std::optional<double> number = tools::ParseDecimal(words[0]);
    if (!number || *number < 0) continue;
    fields.emplace(line.substr(0, colon), *number);
  }
  return fields;
}

}  // namespace

std::optional<double> ParseMemoryUsedPercent(std::string_view meminfo_text) {
  const std::map<std::string, double> fields = ReadFields(meminfo_text);
  const auto total = fields.find("MemTotal");
  if (total == fields.end() || total->second <= 0) return std::nullopt;

  double available = 0;
  if (const auto it = fields.find("MemAvailable"); it != fields.end()) {
    available = it->second;
  } else {
    const auto free = fields.find("MemFree");
    if (free == fields.end()) return std::nullopt;
    available = free->second;
    for (const char* key : {"Buffers", "Cached"}) {
      if (const auto it = fields.find(key); it != fields.end()) {
        available += it->second;
      }
    }
  }
  const double used = total->second - available;
  if (used <= 0) return 0.0;
  return used >= total->second ? 100.0 : used * 100.0 / total->second;
}

}  // namespace vigil::sensor
