#include "sensor/sensor_profile.h"

#include "common/tool_text.h"

namespace vigil::sensor {

SensorProfile ParseSensorProfile(std::string_view profile_text) {
  SensorProfile profile;
  for (const std::string& line : tools::SplitLines(profile_text)) {
    const std::string key = tools::Mid(line, 1, 20);
    // Values are at most 99 characters, as everywhere in the profiles.
    const std::string value = tools::Trim(tools::Mid(line, 21, 99));
    if (key == kMountPointKey) {
      profile.mount_point = value;
    } else if (key == kSensorAddressKey) {
      profile.address = value;
    }
  }
  return profile;
}

}  // namespace vigil::sensor
