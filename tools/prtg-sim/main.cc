// prtg-sim: a stand-in PRTG server for the demo and the tests. See
// options.h for the command line and sensor_set.h for the sensor file.
#include <signal.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "prtg-sim/options.h"
#include "prtg-sim/request_router.h"
#include "prtg-sim/sensor_set.h"
#include "prtg-sim/server.h"

namespace vigil::sim {
namespace {

volatile std::sig_atomic_t stop_requested = 0;

void OnStopSignal(int) { stop_requested = 1; }

void InstallSignals() {
  signal(SIGPIPE, SIG_IGN);
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: the poll must return so that the stop is seen.
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

int Run(int argc, char** argv) {
  const OptionsParse parsed =
      ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.options) {
    std::fprintf(stderr, "prtg-sim: %s\n%.*s", parsed.error.c_str(),
                 static_cast<int>(kUsage.size()), kUsage.data());
    return 2;
  }
  const Options& options = *parsed.options;

  std::ifstream file(options.sensors_path, std::ios::binary);
  std::ostringstream text;
  if (!file || !(text << file.rdbuf())) {
    std::fprintf(stderr, "prtg-sim: cannot read %s\n",
                 options.sensors_path.c_str());
    return 2;
  }
  SensorSetParse set = ParseSensorSet(text.str());
  if (!set.set) {
    std::fprintf(stderr, "prtg-sim: %s: %s\n", options.sensors_path.c_str(),
                 set.error.c_str());
    return 2;
  }
  // The command line wins over the file.
  if (options.credentials.Configured())
    set.set->credentials = options.credentials;
  set.set->next_faults.insert(set.set->next_faults.end(),
                              options.next_faults.begin(),
                              options.next_faults.end());
  for (const auto& [id, fault] : options.id_faults) {
    bool found = false;
    for (Sensor& sensor : set.set->sensors) {
      if (sensor.id == id) {
        sensor.fault = fault;
        found = true;
      }
    }
    if (!found) {
      std::fprintf(
          stderr, "prtg-sim: --fault names sensor %lld, which the file lacks\n",
          id);
      return 2;
    }
  }

  RouterSettings settings;
  settings.locale = options.locale;
  settings.drift = options.drift;
  settings.seed = options.seed ? *options.seed : std::random_device{}();
  RequestRouter router(std::move(*set.set), settings);

  InstallSignals();
  Server server(router,
                {options.port, std::chrono::seconds(options.lifetime_seconds),
                 options.quiet});
  if (!server.Listen()) return 1;
  // The one line on stdout: tests and scripts wait for it.
  std::printf("%d\n", server.port());
  std::fflush(stdout);
  server.Run(stop_requested);
  return 0;
}

}  // namespace
}  // namespace vigil::sim

int main(int argc, char** argv) { return vigil::sim::Run(argc, argv); }
