#include "monitor/sensor_timeout.h"

#include "store/text.h"

namespace vigil {

SensorTimeout ReadSensorTimeout(const std::vector<std::string>& profile_lines) {
  std::optional<std::string> value;
  for (const std::string& line : profile_lines) {
    if (!line.starts_with(kSensorTimeoutKey)) continue;
    value = Trim(std::string_view(line).substr(kSensorTimeoutKey.size()));
  }
  SensorTimeout timeout;
  if (!value || value->empty()) return timeout;
  const auto seconds = IsDigits(*value) ? ParseInteger(*value) : std::nullopt;
  if (!seconds) {
    timeout.problem =
        "Sensor-Timeout '" + *value + "' is no whole number of seconds";
  } else if (*seconds > 0) {
    timeout.limit = std::chrono::seconds(*seconds);
  }
  return timeout;
}

std::string SensorTimedOutText(std::string_view program,
                               std::chrono::seconds limit) {
  return "Sensor " + std::string(program) + " timed out after " +
         std::to_string(limit.count()) + " s";
}

}  // namespace vigil
