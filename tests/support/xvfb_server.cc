#include "support/xvfb_server.h"

#include <unistd.h>

#include <filesystem>
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

}  // namespace

XvfbServer::XvfbServer() {
  for (int attempt = 0; attempt < 20; ++attempt) {
    const int number = 100 + (getpid() + attempt * 37) % 800;
    if (DisplayTaken(number)) continue;
    const std::string display = ":" + std::to_string(number);
    server_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"/usr/bin/Xvfb", display, "-screen", "0",
                                 "1920x1080x24", "-nolisten", "tcp",
                                 "-noreset"},
        std::filesystem::temp_directory_path());
    const bool up = WaitUntil(
        [&] {
          return std::filesystem::exists("/tmp/.X11-unix/X" +
                                         std::to_string(number)) ||
                 !server_->Running();
        },
        std::chrono::seconds(10));
    if (up && server_->Running()) {
      display_ = display;
      return;
    }
    server_.reset();
  }
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

std::string XvfbServer::Run(const std::string& command) const {
  return CommandOutput("DISPLAY=" + display_ + " " + command);
}

}  // namespace vigil::testing
