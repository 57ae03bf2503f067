// Small text routines of the simulator (it shares no code with the orb it
// answers).
#ifndef VIGIL_TOOLS_PRTG_SIM_SIM_TEXT_H_
#define VIGIL_TOOLS_PRTG_SIM_SIM_TEXT_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vigil::sim {

std::string Trim(std::string_view text);
std::vector<std::string> SplitLines(std::string_view text);
std::vector<std::string> SplitWords(std::string_view text);
// Pieces between separators, each trimmed; "a||b" gives three pieces.
std::vector<std::string> SplitTrimmed(std::string_view text, char separator);
std::string ToLower(std::string_view text);

// Whole numbers and decimals with "." as the point; nullopt unless the
// whole text is the number.
std::optional<long long> ParseWhole(std::string_view text);
std::optional<double> ParseDecimal(std::string_view text);

// Text for XML element content.
std::string XmlEscape(std::string_view text);

}  // namespace vigil::sim

#endif  // VIGIL_TOOLS_PRTG_SIM_SIM_TEXT_H_
