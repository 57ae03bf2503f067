// A private X server with a 1920 x 1080 screen for tests that look at real
// window placement.
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

class XvfbServer {
 public:
  XvfbServer();
  bool running() const { return !display_.empty(); }
  const std::string& display() const { return display_; }  // ":N"
  std::string DisplayEnv() const { return "DISPLAY=" + display_; }

  // The geometry of the one mapped top-level window of that process.
  std::optional<WindowGeometry> WindowOf(pid_t pid) const;

  // Runs a shell command (xdotool, import) on this display; its output.
  std::string Run(const std::string& command) const;

 private:
  std::unique_ptr<ChildProcess> server_;
  std::string display_;
};

}  // namespace vigil::testing

#endif  // VIGIL_TESTS_SUPPORT_XVFB_SERVER_H_
