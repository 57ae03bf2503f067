// What the fuzz targets share: the input as text and as lines, the way the
// orb reads a file.
#ifndef VIGIL_FUZZ_FUZZ_INPUT_H_
#define VIGIL_FUZZ_FUZZ_INPUT_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/text.h"

namespace vigil::fuzz {

inline std::string_view Text(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

inline std::vector<std::string> Lines(const uint8_t* data, size_t size) {
  return SplitLines(Text(data, size));
}

// The text before the first line end, and the rest: one input gives a
// record and the file it belongs with.
inline std::pair<std::string_view, std::string_view> FirstLineAndRest(
    std::string_view text) {
  const size_t end = text.find('\n');
  if (end == std::string_view::npos) return {text, {}};
  return {text.substr(0, end), text.substr(end + 1)};
}

}  // namespace vigil::fuzz

#endif  // VIGIL_FUZZ_FUZZ_INPUT_H_
