#include "face/small_images.h"

#include <array>
#include <optional>

namespace vigil {
namespace {

// The state images share the colours that the chart takes for such rows.
constexpr std::array<Rgb, 4> kStateColours = {kAqua, kLime, kYellow, kRed};

std::optional<SmallImage> StateImage(int index) {
  switch (index) {
    case 66:
      return SmallImage{SmallShape::kDot, kStateColours[0]};
    case 62:
      return SmallImage{SmallShape::kDot, kStateColours[1]};
    case 63:
      return SmallImage{SmallShape::kDot, kStateColours[2]};
    case 64:
      return SmallImage{SmallShape::kDot, kStateColours[3]};
    case 71:
      return SmallImage{SmallShape::kStarDot, kStateColours[0]};
    case 68:
      return SmallImage{SmallShape::kStarDot, kStateColours[1]};
    case 69:
      return SmallImage{SmallShape::kStarDot, kStateColours[2]};
    case 70:
      return SmallImage{SmallShape::kStarDot, kStateColours[3]};
    case 73:
      return SmallImage{SmallShape::kRingDot, kStateColours[0]};
    case 74:
      return SmallImage{SmallShape::kRingDot, kStateColours[1]};
    case 75:
      return SmallImage{SmallShape::kRingDot, kStateColours[2]};
    case 76:
      return SmallImage{SmallShape::kRingDot, kStateColours[3]};
    default:
      return std::nullopt;
  }
}

// Menu images; 66 (Reset Scale) and 69 (Show Legend) are state dots too,
// and the rows decide how those look.
std::optional<SmallImage> SymbolImage(int index) {
  switch (index) {
    case 10:
      return SmallImage{SmallShape::kTitle, kTeal};
    case 12:
      return SmallImage{SmallShape::kGauge, kNavy};
    case 22:
      return SmallImage{SmallShape::kCross, kMaroon};
    case 25:
      return SmallImage{SmallShape::kBars, kBlue};
    case 29:
      return SmallImage{SmallShape::kChannel, kGreen};
    case 36:
      return SmallImage{SmallShape::kPlay, kGreen};
    case 37:
      return SmallImage{SmallShape::kListing, kNavy};
    case 43:
      return SmallImage{SmallShape::kSettings, kGray};
    case 45:
      return SmallImage{SmallShape::kGlobe, kBlue};
    case 53:
      return SmallImage{SmallShape::kPicture, kOlive};
    case 55:
      return SmallImage{SmallShape::kPause, kNavy};
    case 60:
      return SmallImage{SmallShape::kWarning, kOlive};
    case 61:
      return SmallImage{SmallShape::kAlert, kMaroon};
    case 77:
      return SmallImage{SmallShape::kHide, kGray};
    case 88:
      return SmallImage{SmallShape::kStop, kRed};
    default:
      break;
  }
  return std::nullopt;
}

}  // namespace

SmallImage SmallImageAt(int index) {
  if (index < 0 || index >= kSmallImageCount) return {};
  if (const auto state = StateImage(index)) return *state;
  if (const auto symbol = SymbolImage(index)) return *symbol;
  // The rest cycle through neutral marks in the standard colours, so that
  // a configured row image is always something plain to look at.
  static constexpr std::array<SmallShape, 4> kShapes = {
      SmallShape::kSquare, SmallShape::kDiamond, SmallShape::kTriangle,
      SmallShape::kRing};
  static constexpr std::array<Rgb, 8> kColours = {
      kTeal, kNavy, kGreen, kMaroon, kOlive, kPurple, kBlue, kGray};
  return {kShapes[static_cast<size_t>(index) % kShapes.size()],
          kColours[static_cast<size_t>(index / 4) % kColours.size()]};
}

}  // namespace vigil
