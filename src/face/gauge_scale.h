// The gauge's arithmetic: the scale maximum, the pointer position and the
// texts of the scale marks.
#ifndef VIGIL_FACE_GAUGE_SCALE_H_
#define VIGIL_FACE_GAUGE_SCALE_H_

#include <array>
#include <string>
#include <string_view>

#include "store/colour.h"

namespace vigil {

// The scale maximum after a value: it grows to the value, is at least 1
// and is rounded up to a round number, keeping its fractional part.
double ScaleMaximum(double gauge_max, double value);

// The shortest decimal text with at most 15 significant digits, "." as the
// decimal point whatever the process locale.
std::string NumberText(double number);

// Texts of the marks 100 %, 80 %, 60 %, 40 %, 20 % and 0 %.
std::array<std::string, 6> ScaleMarkTexts(double gauge_max);

// 100 x value / maximum; the value itself while there is no maximum yet.
double GaugePercent(double value, double gauge_max);

// The two-digit position part of the pointer picture: "00", "10" ... "99".
std::string PointerPart(double percent);

// Even units digits of the gauge number are light dials with black labels;
// odd or missing digits are dark dials with white labels.
bool IsLightDial(char units_digit);

// "PtGry" while suspended (silver), "PtBlk" on light dials, else "Point".
std::string_view PointerStyle(Rgb orb_colour, char units_digit);

}  // namespace vigil

#endif  // VIGIL_FACE_GAUGE_SCALE_H_
