#include "store/orb_values.h"

#include "store/value_parser.h"

namespace vigil {

OrbValues InitialOrbValues(std::string_view mode_word) {
  OrbValues values;
  values.number_format =
      mode_word == "RfcOrb" ? kNumberFormatD : kNumberFormatE;
  return values;
}

}  // namespace vigil
