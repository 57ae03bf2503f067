#include "vigil/shown_text.h"

#include <cstdio>

#include "store/text.h"

namespace vigil::cli {
namespace {

bool IsControl(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

}  // namespace

std::string Shown(std::string_view bytes) {
  std::string shown;
  for (const char c : ToDisplayUtf8(bytes)) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      shown += '\\';
      shown += c;
    } else if (IsControl(byte)) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      shown += escaped;
    } else {
      shown += c;
    }
  }
  return shown;
}

std::string Quoted(std::string_view bytes) {
  return "\"" + Shown(bytes) + "\"";
}

int ControlCharacterColumn(std::string_view line) {
  for (size_t i = 0; i < line.size(); ++i) {
    if (IsControl(static_cast<unsigned char>(line[i]))) {
      return static_cast<int>(i) + 1;
    }
  }
  return 0;
}

}  // namespace vigil::cli
