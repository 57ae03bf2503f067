#include "store/value_parser.h"

#include <charconv>
#include <cmath>
#include <string>

#include "store/text.h"

namespace vigil {

std::optional<double> ParseValue(std::string_view text, char number_format) {
  std::string digits = text == "No" ? std::string("0") : Trim(text);
  const char separator = number_format == kNumberFormatD ? '.' : ',';
  std::erase(digits, separator);
  if (digits.empty()) return std::nullopt;
  // Only plain decimal numbers: no hex, "inf" or "nan".
  const size_t first = digits.front() == '-' || digits.front() == '+' ? 1 : 0;
  if (first == digits.size()) return std::nullopt;
  int points = 0;
  bool exponent = false;
  for (size_t i = first; i < digits.size(); ++i) {
    const char c = digits[i];
    if (c >= '0' && c <= '9') continue;
    if (c == '.' && !exponent && ++points == 1) continue;
    if ((c == 'e' || c == 'E') && !exponent && i > first &&
        i + 1 < digits.size()) {
      exponent = true;
      if (digits[i + 1] == '-' || digits[i + 1] == '+') ++i;
      if (i + 1 >= digits.size()) return std::nullopt;
      continue;
    }
    return std::nullopt;
  }
  if (digits.size() - first == 1 && digits[first] == '.') return std::nullopt;
  // from_chars ignores the C locale, which the toolkit may have changed.
  std::string_view number(digits);
  if (number.front() == '+') number.remove_prefix(1);
  double value = 0;
  const char* end = number.data() + number.size();
  const auto [ptr, error] = std::from_chars(number.data(), end, value);
  if (ptr != end ||
      (error != std::errc() && error != std::errc::result_out_of_range)) {
    return std::nullopt;
  }
  if (error == std::errc::result_out_of_range || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

}  // namespace vigil
