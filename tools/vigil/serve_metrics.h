// The wall in Prometheus' text exposition format, for /metrics.
#ifndef VIGIL_TOOLS_VIGIL_SERVE_METRICS_H_
#define VIGIL_TOOLS_VIGIL_SERVE_METRICS_H_

#include <string>
#include <string_view>

#include "vigil/serve_wall.h"

namespace vigil::cli {

inline constexpr std::string_view kMetricsContentType =
    "text/plain; version=0.0.4; charset=utf-8";

// Per orb (labels wall, orb, name) vigil_orb_state, vigil_orb_running and
// vigil_orb_last_good_cycle_age_seconds; per item of a running orb
// (labels also item, unit) vigil_orb_item_value.
std::string WallMetrics(const ServedWall& wall);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_SERVE_METRICS_H_
