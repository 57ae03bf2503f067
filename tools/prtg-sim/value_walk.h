// Moves channel values a little from request to request so a demo looks
// alive: a bounded random walk around each configured value. A seed makes
// the walk repeat exactly.
#ifndef VIGIL_TOOLS_PRTG_SIM_VALUE_WALK_H_
#define VIGIL_TOOLS_PRTG_SIM_VALUE_WALK_H_

#include <cstdint>
#include <random>
#include <vector>

#include "prtg-sim/sensor_set.h"

namespace vigil::sim {

class ValueWalk {
 public:
  ValueWalk(uint64_t seed, bool enabled);

  // The configured values, the starting point of a sensor's walk.
  static std::vector<double> Start(const Sensor& sensor);

  // One step for every channel; each stays within its span around the
  // configured value, and a value configured at 0 or above never goes
  // negative.
  void Step(const Sensor& sensor, std::vector<double>& values);

  static double SpanOf(const Channel& channel);

 private:
  std::mt19937_64 random_;
  bool enabled_;
};

}  // namespace vigil::sim

#endif  // VIGIL_TOOLS_PRTG_SIM_VALUE_WALK_H_
