// The one page of `vigil serve`: the wall drawn as its grid, which asks
// /api/wall for news every second. Self-contained: no outside script,
// style sheet or font, so that it works where only the server is reachable.
#ifndef VIGIL_TOOLS_VIGIL_SERVE_PAGE_H_
#define VIGIL_TOOLS_VIGIL_SERVE_PAGE_H_

#include <string>

namespace vigil::cli {

// The page with the wall's JSON inside, so that its first paint shows the
// wall without waiting for the first request.
std::string WallPage(const std::string& wall_json);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_SERVE_PAGE_H_
