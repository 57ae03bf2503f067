// The context menu of a real orb, opened and used with X events as a
// person would.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "store/text_file.h"
#include "support/orb_workspace.h"
#include "support/record_builder.h"
#include "support/xvfb_server.h"

namespace vigil {
namespace {

using namespace std::chrono_literals;
using testing::OrbWorkspace;
using testing::RecordBuilder;
using testing::WaitUntil;

TEST(MenuE2eTest, ARightClickOpensTheMenuAndShowListingIsSaved) {
  testing::XvfbServer xvfb;
  ASSERT_TRUE(xvfb.running());
  OrbWorkspace space;
  RecordBuilder record = testing::OneChannelOrb0203("Menu test");
  space.SetUpOneChannelOrbs({record.Text()});
  auto orb = space.StartOnScreen(xvfb.DisplayEnv(), "0203");
  ASSERT_TRUE(space.dir().Exists("AuxOrb0203.Grn"));
  std::optional<testing::WindowGeometry> window;
  ASSERT_TRUE(
      WaitUntil([&] { return (window = xvfb.WindowOf(orb->pid())); }, 10s));

  xvfb.Run("xdotool mousemove " + std::to_string(window->left + 60) + " " +
           std::to_string(window->top + 50) + " click 3");
  std::this_thread::sleep_for(1s);
  // Kept for a person to look at: the open menu over the orb.
  xvfb.Run("import -window root " + testing::ScreenshotFile("menu.png"));
  // The first entry is "Show Listing" while the chart is shown.
  xvfb.Run("xdotool key Down Return");

  EXPECT_TRUE(WaitUntil(
      [&] {
        const auto lines = ReadLines(space.dir() / "AuxOrbs.Prf");
        record.face_mode = '2';
        return lines && std::find(lines->begin(), lines->end(),
                                  record.Text()) != lines->end();
      },
      10s));
  orb->Signal(SIGTERM);
  EXPECT_TRUE(orb->WaitFor(5s));
}

// A sensor that never ends blocks the cycle but, after its first second,
// not the window: the menu opens and Stop ends the orb.
TEST(MenuE2eTest, StopEndsAnOrbWhoseSensorNeverEnds) {
  testing::XvfbServer xvfb;
  ASSERT_TRUE(xvfb.running());
  OrbWorkspace space;
  space.SetUpOneChannelOrbs({testing::OneChannelOrb0203("Hanging").Text()});
  auto orb = space.StartOnScreen(xvfb.DisplayEnv(), "0203");
  ASSERT_TRUE(space.dir().Exists("AuxOrb0203.Grn"));
  std::optional<testing::WindowGeometry> window;
  ASSERT_TRUE(
      WaitUntil([&] { return (window = xvfb.WindowOf(orb->pid())); }, 10s));
  // Swapped in whole: the shell of a running cycle may be reading the old.
  space.dir().Write("companion/hanging",
                    "#!/bin/sh\ntouch running\nexec sleep 60\n");
  std::filesystem::permissions(space.dir() / "companion/hanging",
                               std::filesystem::perms::owner_all);
  std::filesystem::rename(space.dir() / "companion/hanging",
                          space.dir() / "companion/sensor");
  ASSERT_TRUE(WaitUntil([&] { return space.dir().Exists("running"); }, 15s));
  std::this_thread::sleep_for(1500ms);

  xvfb.Run("xdotool mousemove " + std::to_string(window->left + 60) + " " +
           std::to_string(window->top + 50) + " click 3");
  std::this_thread::sleep_for(1s);
  xvfb.Run("import -window root " +
           testing::ScreenshotFile("stop-hanging.png"));
  // Stop is the last entry.
  xvfb.Run("xdotool key Up Return");

  EXPECT_EQ(orb->WaitFor(10s), 0);
  EXPECT_FALSE(space.dir().Exists("AuxOrb0203.Prf"));
  const std::vector<std::string> log = space.LogLines();
  EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string& line) {
    return line.find(" Stop 0203 ") != std::string::npos;
  }));
}

}  // namespace
}  // namespace vigil
