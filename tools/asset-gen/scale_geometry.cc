#include "asset-gen/scale_geometry.h"

#include <cmath>
#include <numbers>

namespace vigil::asset_gen {

QPointF ScalePoint(double percent, double radius_fraction) {
  const double degrees = kStartDegrees - kSweepDegrees * percent / 100.0;
  const double radians = degrees * std::numbers::pi / 180.0;
  return {kPivot.x() + std::cos(radians) * kScaleRadiusX * radius_fraction,
          kPivot.y() - std::sin(radians) * kScaleRadiusY * radius_fraction};
}

}  // namespace vigil::asset_gen
