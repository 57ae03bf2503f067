#include "store/colour_lookup.h"

#include <array>
#include <utility>

namespace vigil {
namespace {

std::optional<Rgb> ColourByName(std::string_view name) {
  static constexpr std::array<std::pair<std::string_view, Rgb>, 10> kNames = {{
      {"clFuchsia", kFuchsia},
      {"clAqua", kAqua},
      {"clLime", kLime},
      {"clYellow", kYellow},
      {"clBlue", kBlue},
      {"clRed", kRed},
      {"clGreen", kGreen},
      {"clOlive", kOlive},
      {"clTeal", kTeal},
      {"clMaroon", kMaroon},
  }};
  for (const auto& [known, colour] : kNames) {
    if (known == name) return colour;
  }
  return std::nullopt;
}

std::optional<Rgb> ColourByImageIndex(int image_index) {
  switch (image_index) {
    case 66:
    case 71:
    case 73:
      return kAqua;
    case 62:
    case 68:
    case 74:
      return kLime;
    case 63:
    case 69:
    case 75:
      return kYellow;
    case 64:
    case 70:
    case 76:
      return kRed;
    default:
      return std::nullopt;
  }
}

}  // namespace

void LookUpColour(std::string_view colour_name, int image_index,
                  Rgb& point_colour) {
  if (const auto by_name = ColourByName(colour_name)) point_colour = *by_name;
  if (const auto by_index = ColourByImageIndex(image_index)) {
    point_colour = *by_index;
  }
}

}  // namespace vigil
