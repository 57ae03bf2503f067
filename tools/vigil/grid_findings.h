// Where the orbs lie on the screen grid: positions outside the header's
// grid, sizes that reach beyond it, and orbs that cover the same cell.
#ifndef VIGIL_TOOLS_VIGIL_GRID_FINDINGS_H_
#define VIGIL_TOOLS_VIGIL_GRID_FINDINGS_H_

#include <optional>
#include <vector>

#include "store/config_record.h"
#include "vigil/finding.h"

namespace vigil::cli {

// A record the orbs read (the last one of its number), with its line.
struct PlacedRecord {
  int line = 0;
  ConfigRecord record;
};

struct GridBounds {
  int rows = 0;
  int columns = 0;
  int header_line = 0;  // 0 when the file has none and the default holds
};

// Records in file order with four-digit numbers; without bounds (an
// unreadable header grid) only overlaps are looked for.
void CheckGridPlacement(const std::vector<PlacedRecord>& records,
                        const std::optional<GridBounds>& bounds,
                        std::vector<Finding>& findings);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_GRID_FINDINGS_H_
