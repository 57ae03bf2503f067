// Gauge dials: a face, a coloured scale band and tick marks. The numbers
// are not drawn; the orb writes them over the dial at its own size.
#ifndef VIGIL_TOOLS_ASSET_GEN_DIAL_ART_H_
#define VIGIL_TOOLS_ASSET_GEN_DIAL_ART_H_

#include <QColor>
#include <QImage>

namespace vigil::asset_gen {

struct DialStyle {
  bool dark = false;  // dark dials get white numbers, light ones black
  QColor face_inner;
  QColor face_outer;
  QColor ticks;
  QColor band_low;   // 0 % to 60 %
  QColor band_mid;   // 60 % to 80 %
  QColor band_high;  // 80 % to 100 %
};

// The pairs of dials: even numbers light, odd numbers dark.
DialStyle DialStyleFor(int gauge_number);

QImage DrawDial(const DialStyle& style);

}  // namespace vigil::asset_gen

#endif  // VIGIL_TOOLS_ASSET_GEN_DIAL_ART_H_
