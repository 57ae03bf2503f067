#include "support/prtg_sim_process.h"

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

namespace vigil::testing {
namespace {

// Long enough for any one test, short enough that a crashed test leaves no
// simulator behind for long.
constexpr int kSimLifetimeSeconds = 40;

}  // namespace

PrtgSim::PrtgSim(const std::filesystem::path& dir, const std::string& sensors,
                 const std::vector<std::string>& extra, int port)
    : log_file_(dir / "prtg-sim.log") {
  const std::filesystem::path sensors_file = dir / "sensors.txt";
  std::ofstream(sensors_file) << sensors;
  std::vector<std::string> argv = {std::string(VIGIL_BIN_DIR) + "/prtg-sim",
                                   "--port",
                                   std::to_string(port),
                                   "--lifetime",
                                   std::to_string(kSimLifetimeSeconds),
                                   "--sensors",
                                   sensors_file.string(),
                                   "--no-drift"};
  argv.insert(argv.end(), extra.begin(), extra.end());
  process_ = std::make_unique<ChildProcess>(
      argv, ChildOptions{.capture_stdout = true, .stderr_file = log_file_});
  if (!process_->started()) return;
  const std::optional<std::string> line =
      process_->ReadLine(std::chrono::seconds(10));
  if (line) port_ = std::atoi(line->c_str());
}

std::string PrtgSim::RequestLog() const {
  std::ifstream in(log_file_);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace vigil::testing
