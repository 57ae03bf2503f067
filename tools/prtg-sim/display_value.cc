#include "prtg-sim/display_value.h"

#include <cmath>
#include <cstdio>

namespace vigil::sim {

std::string FormatNumber(double value, int decimals, Locale locale) {
  const char thousands = locale == Locale::kGerman ? '.' : ',';
  const char point = locale == Locale::kGerman ? ',' : '.';
  if (!std::isfinite(value)) value = 0;
  char plain[64];
  std::snprintf(plain, sizeof(plain), "%.*f", decimals, std::fabs(value));
  const std::string digits(plain);
  const size_t dot = digits.find('.');
  const std::string whole = digits.substr(0, dot);

  std::string text;
  // No "-0" when a small negative value rounds to zero.
  if (value < 0 && digits.find_first_not_of("0.") != std::string::npos) {
    text.push_back('-');
  }
  for (size_t i = 0; i < whole.size(); ++i) {
    if (i > 0 && (whole.size() - i) % 3 == 0) text += thousands;
    text += whole[i];
  }
  if (dot != std::string::npos) text += point + digits.substr(dot + 1);
  return text;
}

std::string DisplayValue(double value, int decimals, std::string_view unit,
                         Locale locale) {
  std::string text = FormatNumber(value, decimals, locale);
  if (!unit.empty()) {
    text += ' ';
    text += unit;
  }
  return text;
}

std::string RawValue(double value) {
  char text[64];
  std::snprintf(text, sizeof(text), "%.4f", std::isfinite(value) ? value : 0.0);
  return text;
}

}  // namespace vigil::sim
