// Small text routines shared by the tools beside the orb. The tools stand in
// for outside programs, so they share these with each other, not with the
// orb.
#ifndef VIGIL_TOOLS_COMMON_TOOL_TEXT_H_
#define VIGIL_TOOLS_COMMON_TOOL_TEXT_H_

#include <climits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vigil::tools {

// Blanks (space, tab, CR, LF) removed at both ends.
std::string Trim(std::string_view text);

// Characters from..from+count-1 (1-based) that exist; never throws.
std::string Mid(std::string_view text, int from, int count = INT_MAX);

// Lines split at LF, a trailing CR dropped; no empty last line for a text
// that ends in LF.
std::vector<std::string> SplitLines(std::string_view text);

// Words separated by spaces and tabs.
std::vector<std::string> SplitWords(std::string_view text);

// Pieces between separators, each trimmed; "a||b" gives three pieces.
std::vector<std::string> SplitTrimmed(std::string_view text, char separator);

// ASCII letters only, whatever the C locale says.
std::string ToLower(std::string_view text);

// Whole numbers, and finite decimals with "." as the point, independent of
// the C locale; nullopt unless the whole text is the number.
std::optional<long long> ParseWhole(std::string_view text);
std::optional<double> ParseDecimal(std::string_view text);

}  // namespace vigil::tools

#endif  // VIGIL_TOOLS_COMMON_TOOL_TEXT_H_
