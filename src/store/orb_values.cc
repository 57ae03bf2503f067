#include "store/orb_values.h"

#include "store/orb_mode.h"
#include "store/value_parser.h"

namespace vigil {

OrbValues InitialOrbValues(std::string_view mode_word) {
  OrbValues values;
  values.number_format = OrbModeOf(mode_word).number_format;
  return values;
}

}  // namespace vigil
