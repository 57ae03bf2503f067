// The point colour of the next chart point, from a row's colour name and
// image index.
#ifndef VIGIL_STORE_COLOUR_LOOKUP_H_
#define VIGIL_STORE_COLOUR_LOOKUP_H_

#include <string_view>

#include "store/colour.h"

namespace vigil {

// The image index overrides the name; without a match the colour stays.
void LookUpColour(std::string_view colour_name, int image_index,
                  Rgb& point_colour);

}  // namespace vigil

#endif  // VIGIL_STORE_COLOUR_LOOKUP_H_
