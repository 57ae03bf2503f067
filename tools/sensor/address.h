// The sensor's address argument: "host:port" or "[v6-address]:port".
#ifndef VIGIL_TOOLS_SENSOR_ADDRESS_H_
#define VIGIL_TOOLS_SENSOR_ADDRESS_H_

#include <optional>
#include <string>
#include <string_view>

namespace vigil::sensor {

struct HostPort {
  std::string host;
  int port = 0;
};

// nullopt for a missing host, a missing or out-of-range port, or an IPv6
// address without brackets.
std::optional<HostPort> ParseAddress(std::string_view address);

}  // namespace vigil::sensor

#endif  // VIGIL_TOOLS_SENSOR_ADDRESS_H_
