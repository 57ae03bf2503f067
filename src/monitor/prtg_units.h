// PRTG's unit words, sizes and speed times as the listing shows them.
#ifndef VIGIL_MONITOR_PRTG_UNITS_H_
#define VIGIL_MONITOR_PRTG_UNITS_H_

#include <optional>
#include <string>

#include "monitor/standard_result.h"

namespace vigil {

// The unit a channel shows for its unit word, sizes and custom unit, and
// the factor its value is divided by for the display.
struct ShownUnit {
  std::string unit;
  double divisor = 1;
};
ShownUnit ShownUnitFor(const StandardChannel& channel,
                       std::optional<double> value);

}  // namespace vigil

#endif  // VIGIL_MONITOR_PRTG_UNITS_H_
