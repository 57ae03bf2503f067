// The few text routines the sensor needs. The sensor stands in for an
// outside program, so it shares no code with the orb that reads it.
#ifndef VIGIL_TOOLS_SENSOR_TEXT_UTIL_H_
#define VIGIL_TOOLS_SENSOR_TEXT_UTIL_H_

#include <climits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vigil::sensor {

// Characters from..from+count-1 (1-based) that exist; never throws.
std::string Mid(std::string_view text, int from, int count = INT_MAX);

std::string Trim(std::string_view text);

// Lines split at LF, a trailing CR dropped.
std::vector<std::string> SplitLines(std::string_view text);

// Blank-separated words.
std::vector<std::string> SplitWords(std::string_view text);

// A decimal number with "." as the point, independent of the C locale;
// nullopt unless the whole text is one number.
std::optional<double> ParseNumber(std::string_view text);

// Makes a text safe for the line-oriented result reader: no "<", ">" or
// "&" (it would cut the text), no " (" (it ends the message part), no
// control characters.
std::string SafeText(std::string_view text);

}  // namespace vigil::sensor

#endif  // VIGIL_TOOLS_SENSOR_TEXT_UTIL_H_
