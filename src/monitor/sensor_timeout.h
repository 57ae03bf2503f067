// How long a sensor run may take: a line of the source profile, none by
// default. A run that passes it is ended with everything it started, so
// that a hung sensor cannot hold its lock, and its siblings, for ever.
#ifndef VIGIL_MONITOR_SENSOR_TIMEOUT_H_
#define VIGIL_MONITOR_SENSOR_TIMEOUT_H_

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/result.h"

namespace vigil {

inline constexpr std::string_view kSensorTimeoutKey = "* Sensor-Timeout..: ";

using SensorTimeLimit = std::optional<std::chrono::seconds>;  // none: none

// The last line with the key counts; blank or "0" means no limit. A value
// that is no whole number of seconds is an error, and the orb then runs
// without a limit.
Result<SensorTimeLimit> ReadSensorTimeout(
    const std::vector<std::string>& profile_lines);

// "Sensor disk.sh timed out after 60 s"
std::string SensorTimedOutText(std::string_view program,
                               std::chrono::seconds limit);

}  // namespace vigil

#endif  // VIGIL_MONITOR_SENSOR_TIMEOUT_H_
