// 24-bit colours and the named colours of the system.
#ifndef VIGIL_STORE_COLOUR_H_
#define VIGIL_STORE_COLOUR_H_

#include <cstdint>
#include <optional>

namespace vigil {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Parts of the file formats give colours as 0x00BBGGRR.
constexpr Rgb RgbFromBgr(std::uint32_t bgr) {
  return Rgb{static_cast<std::uint8_t>(bgr & 0xFF),
             static_cast<std::uint8_t>((bgr >> 8) & 0xFF),
             static_cast<std::uint8_t>((bgr >> 16) & 0xFF)};
}

inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kTeal{0, 128, 128};
inline constexpr Rgb kMaroon{128, 0, 0};
inline constexpr Rgb kGreen{0, 128, 0};
inline constexpr Rgb kOlive{128, 128, 0};
inline constexpr Rgb kNavy{0, 0, 128};
inline constexpr Rgb kPurple{128, 0, 128};
inline constexpr Rgb kGray{128, 128, 128};
inline constexpr Rgb kSilver{192, 192, 192};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kLime{0, 255, 0};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kFuchsia{255, 0, 255};
inline constexpr Rgb kAqua{0, 255, 255};
// System colours, fixed here as the classic desktop defaults so that every
// orb of a room looks the same whatever the desktop theme.
inline constexpr Rgb kDesktopBackground{58, 110, 165};
inline constexpr Rgb kHighlight{0, 120, 215};
inline constexpr Rgb kTooltipBackground{255, 255, 225};
// The neutral orb colour.
inline constexpr Rgb kNeutral = kTooltipBackground;

// Idle background colour by its two-digit code 00..17; nullopt otherwise.
std::optional<Rgb> IdleColour(int code);

}  // namespace vigil

#endif  // VIGIL_STORE_COLOUR_H_
