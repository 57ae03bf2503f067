#include "store/colour.h"

#include <array>

namespace vigil {

std::optional<Rgb> IdleColour(int code) {
  static constexpr std::array<Rgb, 18> kIdleColours = {
      kWhite,     kTeal,
      kMaroon,    kGreen,
      kOlive,     kNavy,
      kPurple,    kGray,
      kSilver,    kRed,
      kLime,      kYellow,
      kBlue,      kFuchsia,
      kAqua,      kDesktopBackground,
      kHighlight, kTooltipBackground};
  if (code < 0 || code >= static_cast<int>(kIdleColours.size())) {
    return std::nullopt;
  }
  return kIdleColours[static_cast<size_t>(code)];
}

}  // namespace vigil
