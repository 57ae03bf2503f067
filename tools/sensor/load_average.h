// The one-minute load average from the text of /proc/loadavg.
#ifndef VIGIL_TOOLS_SENSOR_LOAD_AVERAGE_H_
#define VIGIL_TOOLS_SENSOR_LOAD_AVERAGE_H_

#include <optional>
#include <string_view>

namespace vigil::sensor {

// "0.14 0.09 0.04 1/114 5084" gives 0.14; nullopt for anything else.
std::optional<double> ParseLoadAverage(std::string_view loadavg_text);

}  // namespace vigil::sensor

#endif  // VIGIL_TOOLS_SENSOR_LOAD_AVERAGE_H_
