// The simulator's command line.
#ifndef VIGIL_TOOLS_PRTG_SIM_OPTIONS_H_
#define VIGIL_TOOLS_PRTG_SIM_OPTIONS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "prtg-sim/sensor_set.h"

namespace vigil::sim {

inline constexpr std::string_view kUsage =
    "usage: prtg-sim --port N --lifetime SECONDS --sensors FILE\n"
    "                [--user NAME] [--password TEXT] [--passhash TEXT]\n"
    "                [--locale en|de] [--seed N] [--no-drift] [--quiet]\n"
    "                [--fault ID:FAULT]... [--next K:FAULT]...\n"
    "  N 0 picks a free port; the port is printed on stdout once listening.\n"
    "  FAULT: stall | delay:SECONDS | drop | 500 | 401 | half | short | junk\n";

struct Options {
  int port = -1;
  int lifetime_seconds = 0;
  std::string sensors_path;
  Credentials credentials;  // user empty: the sensor file's, if any
  std::optional<Locale> locale;
  std::optional<uint64_t> seed;
  bool drift = true;
  bool quiet = false;
  std::vector<std::pair<long long, Fault>> id_faults;
  std::vector<QueuedFault> next_faults;
};

struct OptionsParse {
  std::optional<Options> options;
  std::string error;
};

OptionsParse ParseOptions(const std::vector<std::string>& arguments);

// "delay:5" style, as the command line writes faults.
std::optional<Fault> ParseFaultText(std::string_view text);

}  // namespace vigil::sim

#endif  // VIGIL_TOOLS_PRTG_SIM_OPTIONS_H_
