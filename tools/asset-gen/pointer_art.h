// Pointer pictures: a needle at one of eleven positions of the scale on a
// magenta ground that the orb takes as see-through.
#ifndef VIGIL_TOOLS_ASSET_GEN_POINTER_ART_H_
#define VIGIL_TOOLS_ASSET_GEN_POINTER_ART_H_

#include <QColor>
#include <QImage>
#include <QString>
#include <array>

namespace vigil::asset_gen {

// The see-through colour; the orb reads it from the bottom-left pixel.
inline constexpr QColor kSeeThrough{255, 0, 255};

struct PointerStyle {
  QString name;  // "Point", "PtBlk" or "PtGry"
  QColor needle;
  QColor hub;
};

// Black on light dials, red on dark ones, grey while suspended.
const std::array<PointerStyle, 3>& PointerStyles();

// The position parts of the picture names: 0, 10, ... 90 and 99.
const std::array<int, 11>& PointerParts();

// The needle is drawn without smoothing so that the ground stays one
// exact colour.
QImage DrawPointer(const PointerStyle& style, int part);

}  // namespace vigil::asset_gen

#endif  // VIGIL_TOOLS_ASSET_GEN_POINTER_ART_H_
