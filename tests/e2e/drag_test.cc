// A real orb dragged across the grid with X events, as a person would.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <thread>

#include "store/text.h"
#include "support/orb_workspace.h"
#include "support/record_builder.h"
#include "support/xvfb_server.h"

namespace vigil {
namespace {

using namespace std::chrono_literals;
using testing::Drag;
using testing::OrbWorkspace;
using testing::RecordBuilder;
using testing::WaitUntil;

// Cells of 320 x 135 on the 1920 x 1080 screen: orb 0203, two cells wide,
// starts at (960, 270); orb 0305 has a record but does not run.
TEST(DragE2eTest, AnOrbMovesOnlyToAFreeCell) {
  testing::XvfbServer xvfb;
  ASSERT_TRUE(xvfb.running());
  OrbWorkspace space;
  RecordBuilder mine = testing::OneChannelOrb0203("Drag test");
  RecordBuilder other = mine;
  other.number = "0305";
  mine.grid_size = " 1  2";
  space.SetUpOneChannelOrbs({mine.Text(), other.Text()});
  auto orb = space.StartOnScreen(xvfb.DisplayEnv(), "0203");
  ASSERT_TRUE(space.dir().Exists("AuxOrb0203.Grn"));

  const std::string before = space.dir().Read("AuxOrbs.Prf");
  // Onto the last column, 0205: its second cell would be off the screen.
  xvfb.Run(Drag(1000, 300, 1700, 300));
  std::this_thread::sleep_for(1500ms);
  xvfb.Run("import -window root " +
           testing::ScreenshotFile("drag-off-grid.png"));
  xvfb.Run("xdotool key Return");
  EXPECT_EQ(space.dir().Read("AuxOrbs.Prf"), before);
  EXPECT_TRUE(space.dir().Exists("AuxOrb0203.Prf"));
  std::this_thread::sleep_for(500ms);

  // Onto the cell of orb 0305: a message, and no file changes.
  xvfb.Run(Drag(1000, 300, 1700, 420));
  std::this_thread::sleep_for(1500ms);
  xvfb.Run("import -window root " + testing::ScreenshotFile("drag-taken.png"));
  xvfb.Run("xdotool key Return");  // the message box's OK
  EXPECT_EQ(space.dir().Read("AuxOrbs.Prf"), before);
  EXPECT_TRUE(space.dir().Exists("AuxOrb0203.Prf"));

  // Onto the free cell 0404 at (1280, 540).
  std::this_thread::sleep_for(500ms);
  xvfb.Run(Drag(1000, 300, 1300, 600));
  EXPECT_TRUE(
      WaitUntil([&] { return space.dir().Exists("AuxOrb0404.Prf"); }, 10s));
  EXPECT_FALSE(space.dir().Exists("AuxOrb0203.Prf"));
  EXPECT_FALSE(space.dir().Exists("AuxOrb0203.Grn"));
  EXPECT_TRUE(
      WaitUntil([&] { return space.dir().Exists("AuxOrb0404.Grn"); }, 10s));
  const std::string moved = space.dir().Read("AuxOrbs.Prf");
  EXPECT_EQ(moved.find("\n0203 "), std::string::npos);
  mine.number = "0404";
  EXPECT_NE(moved.find(mine.Text()), std::string::npos);
  std::optional<testing::WindowGeometry> window;
  EXPECT_TRUE(WaitUntil(
      [&] {
        window = xvfb.WindowOf(orb->pid());
        return window && window->left == 1280 && window->top == 540;
      },
      5s));

  // A resize to three cells from 0404 would reach past the last column.
  const std::string placed = space.dir().Read("AuxOrbs.Prf");
  const std::string visible_windows =
      "xdotool search --onlyvisible --pid " + std::to_string(orb->pid());
  const std::string id = Trim(xvfb.Run(visible_windows));
  ASSERT_FALSE(id.empty());
  xvfb.Run("xdotool windowsize " + id + " 960 135");
  // The refusal's message box beside the orb.
  EXPECT_TRUE(WaitUntil(
      [&] { return SplitLines(xvfb.Run(visible_windows)).size() == 2; }, 5s));
  std::this_thread::sleep_for(500ms);
  xvfb.Run("import -window root " +
           testing::ScreenshotFile("resize-off-grid.png"));
  xvfb.Run("xdotool key Return");
  EXPECT_TRUE(WaitUntil(
      [&] {
        window = xvfb.WindowOf(orb->pid());
        return window && window->width == 640 && window->height == 135;
      },
      5s));
  EXPECT_EQ(space.dir().Read("AuxOrbs.Prf"), placed);
  orb->Signal(SIGTERM);
  EXPECT_TRUE(orb->WaitFor(5s));
  EXPECT_FALSE(space.dir().Exists("AuxOrb0404.Prf"));
}

}  // namespace
}  // namespace vigil
