// The optional settings the sensor takes from its profile: key/value lines
// with a 20-character key starting "* " and the value from column 21.
// Every other line, and a missing file, leaves the defaults.
#ifndef VIGIL_TOOLS_SENSOR_SENSOR_PROFILE_H_
#define VIGIL_TOOLS_SENSOR_SENSOR_PROFILE_H_

#include <string>
#include <string_view>

namespace vigil::sensor {

inline constexpr std::string_view kMountPointKey = "* Mount Point.....: ";
inline constexpr std::string_view kSensorAddressKey = "* Sensor-Address..: ";

struct SensorProfile {
  std::string mount_point;  // measure this file system instead of the fullest
  std::string address;      // used when the command line gives none
};

SensorProfile ParseSensorProfile(std::string_view profile_text);

}  // namespace vigil::sensor

#endif  // VIGIL_TOOLS_SENSOR_SENSOR_PROFILE_H_
