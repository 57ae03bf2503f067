#include "shell/platform_choice.h"

#include <gtest/gtest.h>

namespace vigil {
namespace {

TEST(PlatformChoiceTest, AnXDisplayIsTakenUnlessTheUserChose) {
  struct Case {
    const char* platform;
    const char* display;
    const char* wayland;
    std::optional<std::string> choice;
  } cases[] = {
      // A Wayland session with XWayland; Wayland if the X display is gone.
      {nullptr, ":0", "wayland-0", "xcb;wayland"},
      {nullptr, ":0", nullptr, "xcb"},  // an X session
      {"", ":1", nullptr, "xcb"},       // set but empty counts as unset
      {"wayland", ":0", "wayland-0", std::nullopt},  // the user's choice
      {"offscreen", nullptr, nullptr, std::nullopt},
      // No X display: the toolkit picks.
      {nullptr, nullptr, "wayland-0", std::nullopt},
      {nullptr, "", nullptr, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlatformChoice(c.platform, c.display, c.wayland), c.choice)
        << (c.platform ? c.platform : "unset") << " / "
        << (c.display ? c.display : "unset");
  }
}

TEST(PlatformChoiceTest, OnlyWaylandPlacesTheWindowsItself) {
  EXPECT_TRUE(PlacesWindows("xcb"));
  EXPECT_TRUE(PlacesWindows("offscreen"));
  EXPECT_FALSE(PlacesWindows("wayland"));
  EXPECT_FALSE(PlacesWindows("wayland-egl"));
}

}  // namespace
}  // namespace vigil
