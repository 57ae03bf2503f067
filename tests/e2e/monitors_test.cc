// Walls on a desktop of two monitors: each header puts its grid on one of
// them or across both; a drag stays on the grid's monitor, and a monitor
// that goes and comes takes the grid to the primary screen and back
// without a byte of the orbs file changed.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <memory>
#include <thread>
#include <utility>

#include "support/orb_workspace.h"
#include "support/record_builder.h"
#include "support/xvfb_server.h"

namespace vigil {
namespace {

using namespace std::chrono_literals;
using testing::ChildProcess;
using testing::Drag;
using testing::Monitors;
using testing::OrbWorkspace;
using testing::RecordBuilder;
using testing::WaitUntil;
using testing::WindowGeometry;

constexpr char kDummyOne[] = "DUMMY1";  // 1280 x 1024, right of the primary

// One wall in its own directory: an 8 x 6 grid on the header's monitor.
struct Wall {
  Wall(const std::string& monitor, std::vector<std::string> numbers)
      : numbers(std::move(numbers)) {
    std::vector<std::string> records;
    for (const std::string& number : this->numbers) {
      RecordBuilder record = testing::OneChannelOrb0203("Monitor " + monitor);
      record.number = number;
      records.push_back(record.Text());
    }
    space.SetUpOneChannelOrbs(records);
    std::vector<std::string> lines = {"0806 AuxOrbs...   ." +
                                      std::string(11, ' ') + monitor};
    lines.insert(lines.end(), records.begin(), records.end());
    space.WriteOrbsFile(lines);
  }

  void Start(const std::string& display_env) {
    for (const std::string& number : numbers) {
      orbs.push_back(space.StartOnScreen(display_env, number));
    }
  }

  std::vector<std::string> numbers;
  OrbWorkspace space;
  std::vector<std::unique_ptr<ChildProcess>> orbs;
};

bool PlacedAt(const testing::XvfbServer& x, const ChildProcess& orb,
              WindowGeometry want) {
  return WaitUntil(
      [&] {
        const auto window = x.WindowOf(orb.pid());
        return window && window->left == want.left && window->top == want.top &&
               window->width == want.width && window->height == want.height;
      },
      10s);
}

TEST(MonitorsE2eTest, EachWallOnItsMonitorAndBackAfterAnUnplug) {
  testing::XvfbServer x(Monitors::kTwo);
  ASSERT_TRUE(x.running()) << "make deps installs Xorg's dummy driver";
  Wall primary("", {"0000"});
  Wall second(kDummyOne, {"0102", "0705"});
  Wall across("*", {"0005"});
  for (Wall* wall : {&primary, &second, &across}) wall->Start(x.DisplayEnv());
  // Cells of 320 x 135 on the primary, 213 x 128 on DUMMY1, 533 x 135
  // across both.
  EXPECT_TRUE(PlacedAt(x, *primary.orbs[0], {0, 0, 320, 135}));
  EXPECT_TRUE(PlacedAt(x, *second.orbs[0], {1920 + 426, 128, 213, 128}));
  EXPECT_TRUE(PlacedAt(x, *second.orbs[1], {1920 + 1065, 896, 213, 128}));
  EXPECT_TRUE(PlacedAt(x, *across.orbs[0], {2665, 0, 533, 135}));
  x.Run("import -window root " + testing::ScreenshotFile("two-monitors.png"));

  // Dragged on DUMMY1 from 0102 to 0303.
  x.Run(Drag(1920 + 500, 180, 1920 + 700, 430));
  EXPECT_TRUE(WaitUntil(
      [&] { return second.space.dir().Exists("AuxOrb0303.Prf"); }, 10s));
  EXPECT_TRUE(PlacedAt(x, *second.orbs[0], {1920 + 639, 384, 213, 128}));
  const std::string placed = second.space.dir().Read("AuxOrbs.Prf");

  // Unplugged: the wall waits on the primary screen, and says why.
  x.Run("xrandr --output DUMMY1 --off");
  EXPECT_TRUE(PlacedAt(x, *second.orbs[0], {960, 405, 320, 135}));
  EXPECT_TRUE(PlacedAt(x, *second.orbs[1], {1600, 945, 320, 135}));
  x.Run("import -window root " +
        testing::ScreenshotFile("two-monitors-unplugged.png"));
  EXPECT_NE(
      second.space.dir().Read("AuxOrbs.Log").find("No monitor \"DUMMY1\""),
      std::string::npos);
  x.Run("xrandr --output DUMMY1 --mode 1280x1024 --right-of DUMMY0");
  EXPECT_TRUE(PlacedAt(x, *second.orbs[0], {1920 + 639, 384, 213, 128}));
  EXPECT_TRUE(PlacedAt(x, *second.orbs[1], {1920 + 1065, 896, 213, 128}));
  std::this_thread::sleep_for(1s);
  EXPECT_EQ(second.space.dir().Read("AuxOrbs.Prf"), placed);

  for (Wall* wall : {&primary, &second, &across}) {
    for (auto& orb : wall->orbs) {
      orb->Signal(SIGTERM);
      EXPECT_TRUE(orb->WaitFor(5s));
    }
  }
}

}  // namespace
}  // namespace vigil
