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

}  // namespace
}  // namespace vigil
