// Where orbs lie on the screen grid, as their records in the orbs file say.
// A place is free for an orb when each of its cells lies inside the
// header's grid and no other orb's record covers it: what a drop, a resize
// and the operator's tools must find before they write a place.
#ifndef VIGIL_STORE_GRID_COVER_H_
#define VIGIL_STORE_GRID_COVER_H_

#include <string>
#include <string_view>
#include <vector>

#include "store/config_record.h"

namespace vigil {

struct GridPlace {
  int row = 0;
  int column = 0;
  GridSize size;
};

// The place a record names: its number, and its size in cells (one cell
// when it gives none that can be read).
GridPlace PlaceOf(const ConfigRecord& record);

struct PlaceCheck {
  enum class Outcome { kFree, kOutsideGrid, kCovered };
  Outcome outcome = Outcome::kFree;
  std::string other_number;  // kCovered: an orb that covers one of its cells
};

// Whether orb own_number may lie at place in a file of these lines; its own
// record does not count against it.
PlaceCheck CheckPlace(const std::vector<std::string>& file_lines,
                      std::string_view mode_word, const GridPlace& place,
                      std::string_view own_number);

}  // namespace vigil

#endif  // VIGIL_STORE_GRID_COVER_H_
