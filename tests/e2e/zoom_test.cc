// The zoom of a real orb in both modes, with X events: a double click
// doubles it under its header, a click returns it.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <functional>
#include <thread>

#include "support/orb_workspace.h"
#include "support/prtg_sim_process.h"
#include "support/record_builder.h"
#include "support/xvfb_server.h"

namespace vigil {
namespace {

using namespace std::chrono_literals;
using testing::OrbWorkspace;
using testing::RecordBuilder;
using testing::WaitUntil;

void SetUpHttpOrb(OrbWorkspace& space, RecordBuilder& record,
                  const testing::PrtgSim& sim) {
  record.face_mode = '2';
  record.tail = "Prtg.Prf;;/sensor.htm?id=2041;Ping";
  space.InstallExtensionLibrary();
  space.WriteOrbsFile({"0806 HttpOrbs..   .", record.Text(),
                       "0203 @ Probe A;Group B;Device C;Sensor D"});
  space.dir().WriteLines("Prtg.Prf", {"* Host/IP.........: " + sim.host(),
                                      "* User-ID.........: prtgadmin"});
}

TEST(ZoomE2eTest, ADoubleClickZoomsAndAClickReturns) {
  testing::XvfbServer xvfb;
  ASSERT_TRUE(xvfb.running());
  for (const std::string mode : {"AuxOrb", "HttpOrb"}) {
    OrbWorkspace space(mode);
    testing::PrtgSim sim(space.dir().path(),
                         "locale en\nsensor 2041 Ping\n"
                         "  channel Ping Time | 1136 | msec\n",
                         {"--no-drift"});
    RecordBuilder record = testing::OneChannelOrb0203("Zoom test");
    if (mode == "AuxOrb") {
      space.SetUpOneChannelOrbs({record.Text()});
    } else {
      ASSERT_TRUE(sim.ready());
      SetUpHttpOrb(space, record, sim);
    }
    auto orb = space.StartOnScreen(xvfb.DisplayEnv(), "0203");
    ASSERT_TRUE(space.dir().Exists(mode + "0203.Grn")) << mode;
    std::optional<testing::WindowGeometry> window;
    const auto has_size = [&](int width, int height) {
      return WaitUntil(
          [&] {
            window = xvfb.WindowOf(orb->pid());
            return window && window->width == width && window->height == height;
          },
          5s);
    };
    ASSERT_TRUE(has_size(320, 135)) << mode;
    // Cell 0203 is at (960, 270); the zoom moves it up and left by half.
    xvfb.Run("xdotool mousemove 1100 330 click --repeat 2 --delay 80 1");
    EXPECT_TRUE(has_size(640, 270)) << mode;
    EXPECT_EQ(window->left, 800) << mode;
    EXPECT_EQ(window->top, 203) << mode;
    // A cycle or two while zoomed: the chart title keeps its unit.
    std::this_thread::sleep_for(3s);
    xvfb.Run("import -window root " +
             testing::ScreenshotFile("zoom-" + mode + ".png"));
    xvfb.Run("xdotool mousemove 1000 400 click 1");
    EXPECT_TRUE(has_size(320, 135)) << mode;
    EXPECT_EQ(window->left, 960) << mode;
    EXPECT_EQ(window->top, 270) << mode;
    orb->Signal(SIGTERM);
    EXPECT_TRUE(orb->WaitFor(5s)) << mode;
  }
}

}  // namespace
}  // namespace vigil
