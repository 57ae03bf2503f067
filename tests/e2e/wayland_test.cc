// Orbs on a Wayland session: a headless Weston beside an X server. With
// both named the orb opens on the X display, in its cell; made to run on
// Wayland, whose compositor places the windows, it cycles as usual, leaves
// its record as it was and logs once why it cannot take its cell.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <thread>

#include "shell/platform_choice.h"
#include "support/orb_workspace.h"
#include "support/record_builder.h"
#include "support/xvfb_server.h"

namespace vigil {
namespace {

using namespace std::chrono_literals;
using testing::ChildOptions;
using testing::ChildProcess;
using testing::OrbWorkspace;
using testing::RecordBuilder;
using testing::WaitUntil;

constexpr char kWeston[] = "/usr/bin/weston";
constexpr char kSocket[] = "wayland-vigil-test";

// Weston's headless back end with the kiosk shell, its runtime directory
// in the workspace.
std::unique_ptr<ChildProcess> StartWeston(const OrbWorkspace& space,
                                          const std::string& runtime_dir) {
  std::filesystem::create_directory(runtime_dir);
  ::chmod(runtime_dir.c_str(), 0700);
  auto weston = std::make_unique<ChildProcess>(
      std::vector<std::string>{
          kWeston, "--backend=headless-backend.so", "--shell=kiosk-shell.so",
          std::string("--socket=") + kSocket, "--width=1920", "--height=1080"},
      ChildOptions{.dir = space.dir().path(),
                   .env = {"XDG_RUNTIME_DIR=" + runtime_dir},
                   .stderr_file = space.dir() / "weston.err"});
  WaitUntil(
      [&] { return std::filesystem::exists(runtime_dir + "/" + kSocket); },
      10s);
  return weston;
}

TEST(WaylandE2eTest, TheXDisplayIsChosenAndWaylandNeverRewritesTheRecord) {
  ASSERT_TRUE(std::filesystem::exists(kWeston)) << "make deps installs it";
  testing::XvfbServer xvfb;
  ASSERT_TRUE(xvfb.running());
  OrbWorkspace space;
  // At the grid's corner, where any size a compositor gives would fit.
  RecordBuilder record = testing::OneChannelOrb0203("Wayland test");
  record.number = "0000";
  record.grid_size = " 1  2";
  space.SetUpOneChannelOrbs({record.Text()});
  const std::string runtime_dir = (space.dir() / "runtime").string();
  auto weston = StartWeston(space, runtime_dir);
  ASSERT_TRUE(std::filesystem::exists(runtime_dir + "/" + kSocket))
      << space.dir().Read("weston.err");
  const std::vector<std::string> session = {
      xvfb.DisplayEnv(), "XDG_RUNTIME_DIR=" + runtime_dir,
      std::string("WAYLAND_DISPLAY=") + kSocket, "QT_QPA_PLATFORM="};

  // Both named, no choice made: the X display, and the orb's two cells.
  auto orb = space.Start({space.companion_dir(), "0000"}, session);
  std::optional<testing::WindowGeometry> window;
  EXPECT_TRUE(WaitUntil(
      [&] {
        window = xvfb.WindowOf(orb->pid());
        return window && window->left == 0 && window->top == 0 &&
               window->width == 640 && window->height == 135;
      },
      20s));
  orb->Signal(SIGTERM);
  EXPECT_TRUE(orb->WaitFor(5s));

  // Made to run on Wayland: a minute of cycles, the file byte for byte.
  const std::string before = space.dir().Read("AuxOrbs.Prf");
  std::vector<std::string> on_wayland = session;
  on_wayland.back() = "QT_QPA_PLATFORM=wayland";
  orb = space.Start({space.companion_dir(), "0000"}, on_wayland);
  EXPECT_TRUE(
      WaitUntil([&] { return space.dir().Exists("AuxOrb0000.Grn"); }, 20s));
  std::this_thread::sleep_for(60s);
  EXPECT_TRUE(orb->Running());
  EXPECT_EQ(space.dir().Read("AuxOrbs.Prf"), before);
  size_t placement_lines = 0;
  for (const std::string& line : space.LogLines()) {
    if (line.find(kNoPlacementLog) != std::string::npos) ++placement_lines;
  }
  EXPECT_EQ(placement_lines, 1u);
  orb->Signal(SIGTERM);
  EXPECT_TRUE(orb->WaitFor(5s));
  weston->Signal(SIGTERM);
}

}  // namespace
}  // namespace vigil
