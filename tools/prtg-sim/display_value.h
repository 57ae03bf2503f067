// Values as the server's web interface shows them: grouped thousands and
// the decimal mark of the server's locale ("1,136 msec" in English,
// "153.440.332 Byte" in German).
#ifndef VIGIL_TOOLS_PRTG_SIM_DISPLAY_VALUE_H_
#define VIGIL_TOOLS_PRTG_SIM_DISPLAY_VALUE_H_

#include <string>
#include <string_view>

#include "prtg-sim/sensor_set.h"

namespace vigil::sim {

std::string FormatNumber(double value, int decimals, Locale locale);

// The number, a blank and the unit; the number alone without a unit.
std::string DisplayValue(double value, int decimals, std::string_view unit,
                         Locale locale);

// The raw value, always with "." and four decimals ("1136.0000").
std::string RawValue(double value);

}  // namespace vigil::sim

#endif  // VIGIL_TOOLS_PRTG_SIM_DISPLAY_VALUE_H_
