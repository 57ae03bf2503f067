// Which of the toolkit's window platforms an orb asks for. Orbs place
// themselves in grid cells, which X11 allows and a Wayland compositor does
// not; GNOME and KDE sessions offer an X display (XWayland) beside Wayland.
#ifndef VIGIL_SHELL_PLATFORM_CHOICE_H_
#define VIGIL_SHELL_PLATFORM_CHOICE_H_

#include <optional>
#include <string>
#include <string_view>

namespace vigil {

// "xcb" when the user chose no platform (QT_QPA_PLATFORM unset or empty)
// and an X display is named (DISPLAY), with Wayland after it when a
// compositor is named too (WAYLAND_DISPLAY), for an X display that cannot
// be reached; nullopt leaves the choice to the toolkit. Arguments are the
// variables' values, nullptr when unset.
std::optional<std::string> PlatformChoice(const char* qt_qpa_platform,
                                          const char* display,
                                          const char* wayland_display);

// False for a platform on which a client cannot place its own windows
// (Wayland): the compositor puts and sizes them.
bool PlacesWindows(std::string_view platform_name);

// What an orb on such a platform logs once, and says once to a drag.
inline constexpr std::string_view kNoPlacementLog =
    "Placement not available: the desktop (Wayland) places the windows";
inline constexpr std::string_view kNoPlacementMessage =
    "Sorry, this desktop (Wayland) places the windows itself: the orb cannot "
    "take a grid cell or move. Start the wall on the X display to place it !";

}  // namespace vigil

#endif  // VIGIL_SHELL_PLATFORM_CHOICE_H_
