// A private X server for tests that look at real window placement: Xvfb
// with one 1920 x 1080 screen, or Xorg's dummy driver with two monitors
// side by side, "DUMMY0" (1920 x 1080, primary) and "DUMMY1" (1280 x 1024)
// right of it, as xrandr sets them.
#ifndef VIGIL_TESTS_SUPPORT_XVFB_SERVER_H_
#define VIGIL_TESTS_SUPPORT_XVFB_SERVER_H_

#include <memory>
#include <optional>
#include <string>

#include "support/child_process.h"

namespace vigil::testing {

struct WindowGeometry {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Where end-to-end tests keep screenshots for a person to look at:
// build/screenshots/<name>.
std::string ScreenshotFile(const std::string& name);

// The xdotool command that drags with the left button, as a hand would.
std::string Drag(int from_x, int from_y, int to_x, int to_y);

enum class Monitors { kOne, kTwo };

class XvfbServer {
 public:
  explicit XvfbServer(Monitors monitors = Monitors::kOne);
  bool running() const { return !display_.empty(); }
  const std::string& display() const { return display_; }  // ":N"
  std::string DisplayEnv() const { return "DISPLAY=" + display_; }

  // The geometry of the one mapped top-level window of that process.
  std::optional<WindowGeometry> WindowOf(pid_t pid) const;

  // Runs a shell command (xdotool, import) on this display; its output.
  std::string Run(const std::string& command) const;

 private:
  std::unique_ptr<ChildProcess> StartServer(Monitors monitors,
                                            const std::string& display) const;
  bool SetUpTwoMonitors() const;

  std::unique_ptr<ChildProcess> server_;
  std::string display_;
};

}  // namespace vigil::testing

#endif  // VIGIL_TESTS_SUPPORT_XVFB_SERVER_H_
