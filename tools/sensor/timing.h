// The response-time measurement: a TCP connect, or the run of `true` when
// there is nothing to connect to. These touch the system; they are kept
// small so that everything around them stays testable.
#ifndef VIGIL_TOOLS_SENSOR_TIMING_H_
#define VIGIL_TOOLS_SENSOR_TIMING_H_

#include <optional>
#include <string>

#include "sensor/address.h"

namespace vigil::sensor {

// The orb reads any value above 1000 as thousands ("1234" shows as 1.234),
// so a connect slower than this counts as not answered.
inline constexpr int kConnectTimeoutMs = 1000;

struct Timing {
  std::optional<double> ms;
  std::string error;  // set when ms is not
};

Timing TimeTcpConnect(const HostPort& target, int timeout_ms);

// Runs `true` through posix_spawnp and waits for it.
Timing TimeTrueRun();

}  // namespace vigil::sensor

#endif  // VIGIL_TOOLS_SENSOR_TIMING_H_
