// Where the scale of a dial runs, shared by the dials and the pointers so
// that a pointer picture points at the dial's marks. The face stretches
// both: the dial over the whole gauge, the pointer over the middle half of
// its width from 22 % to 74 % of its height.
#ifndef VIGIL_TOOLS_ASSET_GEN_SCALE_GEOMETRY_H_
#define VIGIL_TOOLS_ASSET_GEN_SCALE_GEOMETRY_H_

#include <QPointF>
#include <QSize>

namespace vigil::asset_gen {

// Dials are drawn at twice the compact gauge (167 x 87).
inline constexpr QSize kDialSize{334, 174};
// The pointer covers 50 % x 52 % of the gauge, from (25 %, 22 %).
inline constexpr QSize kPointerSize{167, 90};
inline constexpr QPointF kPointerOrigin{83.5, 38.3};

// The pivot in dial pixels: the centre of the pointer's area.
inline constexpr QPointF kPivot{167, 83.5};
// The scale runs clockwise from lower left (0 %) over the top to lower
// right (100 %).
inline constexpr double kStartDegrees = 215;
inline constexpr double kSweepDegrees = 250;
// The scale's radii in dial pixels; the dial is twice as wide as high, so
// the arc is an ellipse that the stretched face shows as such.
inline constexpr double kScaleRadiusX = 70;
inline constexpr double kScaleRadiusY = 34;

// A point at the given percentage of the scale, at a fraction of the
// scale's radius, in dial pixels.
QPointF ScalePoint(double percent, double radius_fraction);

}  // namespace vigil::asset_gen

#endif  // VIGIL_TOOLS_ASSET_GEN_SCALE_GEOMETRY_H_
