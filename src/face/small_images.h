// What each of the orb's 89 small images (16 x 16) shows: the row states
// as dots in their state colours, the menu entries as simple symbols.
#ifndef VIGIL_FACE_SMALL_IMAGES_H_
#define VIGIL_FACE_SMALL_IMAGES_H_

#include "store/colour.h"

namespace vigil {

inline constexpr int kSmallImageCount = 89;
inline constexpr int kSmallImageSize = 16;

enum class SmallShape {
  kDot,       // a row state given by a prefix such as "2: "
  kStarDot,   // a prefix such as "2: * ", or an item beginning with "* "
  kRingDot,   // the unit "State"
  kCross,     // an unreadable value or a filler row
  kChannel,   // a PRTG channel row; also "View Logging"
  kBars,      // chart
  kListing,   // listing
  kGauge,     // gauge
  kPicture,   // image
  kTitle,     // chart title
  kWarning,   // reset warning
  kAlert,     // reset alert
  kSettings,  // alter settings
  kPause,     // suspend
  kPlay,      // resume
  kHide,      // hide the orb
  kStop,      // stop the orb
  kGlobe,     // PRTG browser
  kSquare,    // the others, as neutral marks
  kDiamond,
  kTriangle,
  kRing,
};

struct SmallImage {
  SmallShape shape = SmallShape::kSquare;
  Rgb colour = kGray;
};

// The image at index 0..88; any other index gives a neutral square.
SmallImage SmallImageAt(int index);

}  // namespace vigil

#endif  // VIGIL_FACE_SMALL_IMAGES_H_
