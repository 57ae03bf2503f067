#include "monitor/sensor_timeout.h"

#include "store/text.h"

namespace vigil {

Result<SensorTimeLimit> ReadSensorTimeout(
    const std::vector<std::string>& profile_lines) {
  std::optional<std::string> value;
  for (const std::string& line : profile_lines) {
    if (!line.starts_with(kSensorTimeoutKey)) continue;
    value = Trim(std::string_view(line).substr(kSensorTimeoutKey.size()));
  }
  if (!value || value->empty()) return SensorTimeLimit();
  const auto seconds = IsDigits(*value) ? ParseInteger(*value) : std::nullopt;
  if (!seconds) {
    return Failure("Sensor-Timeout '" + *value +
                   "' is no whole number of seconds");
  }
  if (*seconds == 0) return SensorTimeLimit();
  return SensorTimeLimit(std::chrono::seconds(*seconds));
}

std::string SensorTimedOutText(std::string_view program,
                               std::chrono::seconds limit) {
  return "Sensor " + std::string(program) + " timed out after " +
         std::to_string(limit.count()) + " s";
}

}  // namespace vigil
