// Memory in use, in per cent, from the text of /proc/meminfo.
#ifndef VIGIL_TOOLS_SENSOR_MEMORY_USAGE_H_
#define VIGIL_TOOLS_SENSOR_MEMORY_USAGE_H_

#include <optional>
#include <string_view>

namespace vigil::sensor {

// In use = total minus available. Kernels without "MemAvailable" count
// free memory, buffers and page cache as available. nullopt when the text
// has no usable "MemTotal".
std::optional<double> ParseMemoryUsedPercent(std::string_view meminfo_text);

}  // namespace vigil::sensor

#endif  // VIGIL_TOOLS_SENSOR_MEMORY_USAGE_H_
