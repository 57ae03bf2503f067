#include "actions/settings_fields.h"

#include "store/text.h"

namespace vigil {

std::string TerminatedField(std::string_view text, int index) {
  size_t start = 0;
  for (int field = 1; field <= index; ++field) {
    const size_t end = text.find(';', start);
    if (end == std::string_view::npos) return {};
    if (field == index) return std::string(text.substr(start, end - start));
    start = end + 1;
  }
  return {};
}

bool MarkedAt(std::string_view text, int column) {
  return Mid(text, column, 1) == "X";
}

bool EnabledAt(std::string_view text, int column) {
  return Mid(text, column, 3) == kEnableMark;
}

std::string FixedWidth(std::string_view text, size_t width) {
  std::string fixed(text.substr(0, width));
  fixed.resize(width, ' ');
  return fixed;
}

}  // namespace vigil
