// The settings dialog of a real orb, opened through its menu and filled in
// with X events as a person would.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sstream>
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

// The dialog's top-left corner on the screen, once it is mapped.
std::optional<std::pair<int, int>> DialogCorner(
    const testing::XvfbServer& xvfb) {
  std::istringstream shell(
      xvfb.Run("xdotool search --onlyvisible --name 'Alter Settings for' "
               "getwindowgeometry --shell 2>/dev/null"));
  std::optional<int> x, y;
  for (std::string line; std::getline(shell, line);) {
    if (line.starts_with("X=")) x = std::stoi(line.substr(2));
    if (line.starts_with("Y=")) y = std::stoi(line.substr(2));
  }
  if (!x || !y) return std::nullopt;
  return std::make_pair(*x, *y);
}

TEST(SettingsE2eTest, TheDialogChangesTheDelayAndARuleOfARunningOrb) {
  testing::XvfbServer xvfb;
  ASSERT_TRUE(xvfb.running());
  OrbWorkspace space;
  RecordBuilder record = testing::OneChannelOrb0203("Settings test");
  record.delay = "   99";  // no second cycle unless the delay changes
  space.SetUpOneChannelOrbs({record.Text()});
  const auto assets =
      std::filesystem::path(VIGIL_BIN_DIR).parent_path() / "assets/Images";
  std::filesystem::create_directories(space.dir() / "Images");
  std::filesystem::copy_file(assets / "Sett.Jpg",
                             space.dir() / "Images/Sett.Jpg");
  auto orb = space.StartOnScreen(xvfb.DisplayEnv(), "0203");
  ASSERT_TRUE(space.dir().Exists("AuxOrb0203.Grn"));
  std::optional<testing::WindowGeometry> window;
  ASSERT_TRUE(
      WaitUntil([&] { return (window = xvfb.WindowOf(orb->pid())); }, 10s));

  auto at = [](int x, int y) {
    return std::to_string(x) + " " + std::to_string(y);
  };
  xvfb.Run("xdotool mousemove " + at(window->left + 60, window->top + 50) +
           " click 3");
  std::this_thread::sleep_for(1s);
  // From the bottom of a green orb's menu: Stop, Hide, Suspend, Alter.
  xvfb.Run("xdotool key Up Up Up Up Return");
  std::optional<std::pair<int, int>> corner;
  ASSERT_TRUE(WaitUntil([&] { return (corner = DialogCorner(xvfb)); }, 10s));
  const auto [left, top] = *corner;
  auto click = [&](int x, int y) {
    xvfb.Run("xdotool mousemove " + at(left + x, top + y) + " click 1");
    std::this_thread::sleep_for(300ms);
  };
  click(270, 28);  // the delay field
  xvfb.Run("xdotool key ctrl+a type 10");
  click(350, 146);  // New
  click(60, 196);   // the rule's item
  xvfb.Run("xdotool key ctrl+a type A");
  click(270, 196);  // the rule's action
  xvfb.Run("xdotool key ctrl+a type 'Set Alert'");
  xvfb.Run("xdotool mousemove " + at(left + 350, top + 204));
  std::this_thread::sleep_for(500ms);
  // Kept for a person to look at: the filled-in dialog over the wall.
  xvfb.Run("import -window root " + testing::ScreenshotFile("settings.png"));
  const auto saved_at = std::chrono::steady_clock::now();
  click(350, 204);  // Save

  record.delay = "   10";
  EXPECT_TRUE(WaitUntil(
      [&] {
        const auto lines = ReadLines(space.dir() / "AuxOrbs.Prf");
        return lines &&
               std::find(lines->begin(), lines->end(), record.Text()) !=
                   lines->end() &&
               std::find(lines->begin(), lines->end(),
                         "0203 # A;>;0;Set Alert;") != lines->end();
      },
      5s));
  // The next cycle comes after the new ten seconds, not the old 99, and
  // follows the new rule.
  EXPECT_TRUE(
      WaitUntil([&] { return space.dir().Exists("AuxOrb0203.Red"); }, 20s));
  const auto waited = std::chrono::steady_clock::now() - saved_at;
  EXPECT_GE(waited, 8s);
  EXPECT_LE(waited, 16s);
  orb->Signal(SIGTERM);
  EXPECT_TRUE(orb->WaitFor(5s));
}

}  // namespace
}  // namespace vigil
