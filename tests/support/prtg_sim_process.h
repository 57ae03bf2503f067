// The PRTG simulator as a real process on a free loopback port, for the PRTG
// client tests.
#ifndef VIGIL_TESTS_SUPPORT_PRTG_SIM_PROCESS_H_
#define VIGIL_TESTS_SUPPORT_PRTG_SIM_PROCESS_H_

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/loopback_port.h"

namespace vigil::testing {

// prtg-sim serving the sensors text, with a short lifetime.
class PrtgSim {
 public:
  // extra: further options, such as {"--next", "1:500"}; port 0: any free
  // port. Ends with the object.
  PrtgSim(const std::filesystem::path& dir, const std::string& sensors,
          const std::vector<std::string>& extra = {}, int port = 0);

  bool ready() const { return port_ > 0; }
  int port() const { return port_; }
  std::string host() const { return "127.0.0.1:" + std::to_string(port_); }
  // The simulator's request log (its stderr), one line per request.
  std::string RequestLog() const;

 private:
  std::filesystem::path log_file_;
  std::unique_ptr<ChildProcess> process_;
  int port_ = 0;
};

}  // namespace vigil::testing

#endif  // VIGIL_TESTS_SUPPORT_PRTG_SIM_PROCESS_H_
