#include "support/xvfb_server.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vigil::testing {
namespace {

bool DisplayTaken(int number) {
  return std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number)) ||
         std::filesystem::exists("/tmp/.X" + std::to_string(number) + "-lock");
}

std::optional<WindowGeometry> ParseGeometry(const std::string& info) {
  WindowGeometry geometry;
  int found = 0;
  std::istringstream lines(info);
  std::string line;
  auto value = [](const std::string& text) {
    return std::stoi(text.substr(text.find(':') + 1));
  };
  while (std::getline(lines, line)) {
    if (line.find("Absolute upper-left X:") != std::string::npos) {
      geometry.left = value(line), ++found;
    } else if (line.find("Absolute upper-left Y:") != std::string::npos) {
      geometry.top = value(line), ++found;
    } else if (line.find("  Width:") != std::string::npos) {
      geometry.width = value(line), ++found;
    } else if (line.find("  Height:") != std::string::npos) {
      geometry.height = value(line), ++found;
    } else if (line.find("Map State: IsUnMapped") != std::string::npos) {
      return std::nullopt;
    }
  }
  if (found != 4) return std::nullopt;
  return geometry;
}

// A framebuffer wide enough for both monitors; no input devices.
constexpr char kDummyConfig[] = R"(Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 256000
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 3200 1080
  EndSubSection
EndSection
)";

}  // namespace

XvfbServer::XvfbServer(Monitors monitors) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    const int number = 100 + (getpid() + attempt * 37) % 800;
    if (DisplayTaken(number)) continue;
    const std::string display = ":" + std::to_string(number);
    server_ = StartServer(monitors, display);
    const bool up = WaitUntil(
        [&] {
          return std::filesystem::exists("/tmp/.X11-unix/X" +
                                         std::to_string(number)) ||
                 !server_->Running();
        },
        std::chrono::seconds(10));
    if (up && server_->Running()) {
      display_ = display;
      if (monitors == Monitors::kTwo && !SetUpTwoMonitors()) display_.clear();
      return;
    }
    server_.reset();
  }
}

std::unique_ptr<ChildProcess> XvfbServer::StartServer(
    Monitors monitors, const std::string& display) const {
  const std::filesystem::path temp = std::filesystem::temp_directory_path();
  if (monitors == Monitors::kOne) {
    return std::make_unique<ChildProcess>(
        std::vector<std::string>{"/usr/bin/Xvfb", display, "-screen", "0",
                                 "1920x1080x24", "-nolisten", "tcp",
                                 "-noreset"},
        temp);
  }
  const std::string stem = "vigil-xorg" + display.substr(1);
  const std::filesystem::path config = temp / (stem + ".conf");
  std::ofstream(config) << kDummyConfig;
  return std::make_unique<ChildProcess>(
      std::vector<std::string>{
          "/usr/lib/xorg/Xorg", display, "-config", config.string(), "-logfile",
          (temp / (stem + ".log")).string(), "-nolisten", "tcp", "-noreset"},
      ChildOptions{.dir = temp, .stderr_file = temp / (stem + ".err")});
}

bool XvfbServer::SetUpTwoMonitors() const {
  Run("xrandr --output DUMMY0 --mode 1920x1080 --pos 0x0 --primary");
  Run("xrandr --addmode DUMMY1 1280x1024");
  Run("xrandr --output DUMMY1 --mode 1280x1024 --right-of DUMMY0");
  return Run("xrandr --listmonitors").find("Monitors: 2") != std::string::npos;
}

std::optional<WindowGeometry> XvfbServer::WindowOf(pid_t pid) const {
  const std::string prefix = "DISPLAY=" + display_ + " ";
  std::istringstream children(
      CommandOutput(prefix + "xwininfo -root -children 2>/dev/null"));
  std::string line;
  while (std::getline(children, line)) {
    const size_t id_at = line.find("0x");
    if (id_at == std::string::npos || line.find("child") != std::string::npos) {
      continue;
    }
    const std::string id = line.substr(id_at, line.find(' ', id_at) - id_at);
    const std::string owner =
        CommandOutput(prefix + "xprop -id " + id + " _NET_WM_PID 2>/dev/null");
    if (owner.find("= " + std::to_string(pid) + "\n") == std::string::npos) {
      continue;
    }
    if (auto geometry = ParseGeometry(
            CommandOutput(prefix + "xwininfo -id " + id + " 2>/dev/null"))) {
      return geometry;
    }
  }
  return std::nullopt;
}

std::string ScreenshotFile(const std::string& name) {
  const std::filesystem::path shots =
      std::filesystem::path(VIGIL_BIN_DIR).parent_path() / "screenshots";
  std::filesystem::create_directories(shots);
  return (shots / name).string();
}

std::string Drag(int from_x, int from_y, int to_x, int to_y) {
  const auto point = [](int x, int y) {
    return std::to_string(x) + " " + std::to_string(y);
  };
  return "xdotool mousemove " + point(from_x, from_y) + " mousedown 1 " +
         "mousemove " + point((from_x + to_x) / 2, (from_y + to_y) / 2) +
         " sleep 0.2 mousemove " + point(to_x, to_y) + " sleep 0.2 mouseup 1";
}

std::string XvfbServer::Run(const std::string& command) const {
  return CommandOutput("DISPLAY=" + display_ + " " + command);
}

}  // namespace vigil::testing
