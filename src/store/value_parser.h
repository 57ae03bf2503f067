// Reads item values as the sensors write them. The number-format flag
// says which character is the thousands separator: 'D' drops ".", 'E' ",".
#ifndef VIGIL_STORE_VALUE_PARSER_H_
#define VIGIL_STORE_VALUE_PARSER_H_

#include <optional>
#include <string_view>

namespace vigil {

inline constexpr char kNumberFormatD = 'D';
inline constexpr char kNumberFormatE = 'E';

// "No" reads as 0; nullopt when the rest is not a number.
std::optional<double> ParseValue(std::string_view text, char number_format);

}  // namespace vigil

#endif  // VIGIL_STORE_VALUE_PARSER_H_
