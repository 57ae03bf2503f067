// Which of the toolkit's window platforms an orb asks for. Orbs place
// themselves in grid cells, which X11 allows and a Wayland compositor does
// not; GNOME and KDE sessions offer an X display (XWayland) beside Wayland.
#ifndef VIGIL_SHELL_PLATFORM_CHOICE_H_
#define VIGIL_SHELL_PLATFORM_CHOICE_H_

#include <optional>
#include <string>

namespace vigil {

// "xcb" when the user chose no platform (QT_QPA_PLATFORM unset or empty)
// and an X display is named (DISPLAY), with Wayland after it when a
// compositor is named too (WAYLAND_DISPLAY), for an X display that cannot
// be reached; nullopt leaves the choice to the toolkit. Arguments are the
// variables' values, nullptr when unset.
std::optional<std::string> PlatformChoice(const char* qt_qpa_platform,
                                          const char* display,
                                          const char* wayland_display);

}  // namespace vigil

#endif  // VIGIL_SHELL_PLATFORM_CHOICE_H_
