// The wall as JSON, for /api/wall and the page that draws it.
#ifndef VIGIL_TOOLS_VIGIL_SERVE_JSON_H_
#define VIGIL_TOOLS_VIGIL_SERVE_JSON_H_

#include <string>

#include "vigil/serve_wall.h"

namespace vigil::cli {

// One object: "wall", "rows", "columns", "orbs" (each with its number,
// name, mode, cells, face, process, state, colours, ages, wait, no-data
// reason and items) and "events", newest first. The README gives the
// fields.
std::string WallJson(const ServedWall& wall);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_SERVE_JSON_H_
