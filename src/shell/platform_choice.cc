#include "shell/platform_choice.h"

namespace vigil {
namespace {

bool IsSet(const char* value) { return value != nullptr && *value != '\0'; }

}  // namespace

std::optional<std::string> PlatformChoice(const char* qt_qpa_platform,
                                          const char* display,
                                          const char* wayland_display) {
  if (IsSet(qt_qpa_platform) || !IsSet(display)) return std::nullopt;
  // The toolkit takes the first platform of the list that starts.
  return IsSet(wayland_display) ? "xcb;wayland" : "xcb";
}

bool PlacesWindows(std::string_view platform_name) {
  return !platform_name.starts_with("wayland");
}

}  // namespace vigil
