#include "store/orb_mode.h"

namespace vigil {

const OrbMode* FindOrbMode(std::string_view word) {
  for (const OrbMode& mode : kOrbModes) {
    if (mode.word == word) return &mode;
  }
  return nullptr;
}

const OrbMode& OrbModeOf(std::string_view word) {
  const OrbMode* mode = FindOrbMode(word);
  return mode != nullptr ? *mode : kOrbModes.back();
}

}  // namespace vigil
