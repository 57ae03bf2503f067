#include "sensor/machine_text.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "common/tool_text.h"
#include "sensor/result_text.h"

namespace vigil::sensor {

std::string PrettyOsName(std::string_view os_release_text) {
  constexpr std::string_view kKey = "PRETTY_NAME=";
  for (const std::string& line : tools::SplitLines(os_release_text)) {
    if (line.rfind(kKey, 0) != 0) continue;
    std::string value = tools::Trim(std::string_view(line).substr(kKey.size()));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return value;
  }
  return {};
}

std::optional<long long> UptimeSeconds(std::string_view uptime_text) {
  const std::vector<std::string> words =
      tools::SplitWords(tools::Trim(uptime_text));
  if (words.empty()) return std::nullopt;
  const std::optional<double> seconds = tools::ParseDecimal(words[0]);
  if (!seconds || *seconds < 0 || *seconds > 1e15) return std::nullopt;
  return static_cast<long long>(std::floor(*seconds));
}

std::string FormatUptime(long long seconds) {
  const long long days = seconds / 86400;
  const int hours = static_cast<int>(seconds % 86400 / 3600);
  const int minutes = static_cast<int>(seconds % 3600 / 60);
  char clock[16];
  std::snprintf(clock, sizeof(clock), "%02d:%02d", hours, minutes);
  return days > 0 ? "up " + std::to_string(days) + "d " + clock
                  : std::string("up ") + clock;
}

int CountProcessors(std::string_view cpuinfo_text) {
  int count = 0;
  for (const std::string& line : tools::SplitLines(cpuinfo_text)) {
    const size_t colon = line.find(':');
    if (colon != std::string::npos &&
        tools::Trim(line.substr(0, colon)) == "processor") {
      ++count;
    }
  }
  return count;
}

std::string DescribeMachine(const MachineFacts& facts) {
  std::vector<std::string> parts;
  const std::string os = PrettyOsName(facts.os_release_text);
  parts.push_back(os.empty() ? "Linux" : os);
  const std::string kernel = tools::Trim(facts.kernel_release_text);
  if (!kernel.empty()) parts.push_back("kernel " + kernel);
  const int cpus = CountProcessors(facts.cpuinfo_text);
  if (cpus > 0)
    parts.push_back(std::to_string(cpus) + (cpus == 1 ? " CPU" : " CPUs"));
  if (const std::optional<long long> up = UptimeSeconds(facts.uptime_text)) {
    parts.push_back(FormatUptime(*up));
  }
  std::string text = facts.host_name.empty() ? "localhost" : facts.host_name;
  text += ":";
  for (size_t i = 0; i < parts.size(); ++i) {
    text += (i == 0 ? " " : ", ") + parts[i];
  }
  return SafeText(text);
}

}  // namespace vigil::sensor
