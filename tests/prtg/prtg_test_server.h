// The sensors and the login that the live PRTG client tests serve.
#ifndef VIGIL_TESTS_PRTG_PRTG_TEST_SERVER_H_
#define VIGIL_TESTS_PRTG_PRTG_TEST_SERVER_H_

#include <string>
#include <string_view>
#include <vector>

namespace vigil::testing {

// Characters that a URL must encode, so that a client that does not
// encode them fails to log in.
inline constexpr std::string_view kPrtgUser = "vigil-user";
inline constexpr std::string_view kPrtgPassword = "S3cr&t #9";
// "P", "W" and "Z" would become line ends and a NUL if the key were
// scrambled like a password; "+", "/" and "=" must be encoded.
inline constexpr std::string_view kPrtgApiToken = "VIGILPWZ+API/KEY=";

inline constexpr std::string_view kPrtgSensors = R"(locale en
sensor 2041 Ping
  probe Local Probe
  group Network
  device Core Router
  channel Ping Time | 1136 | msec
  channel Minimum | 982 | msec
  channel Packet Loss | 0 | % | 0 | 2
  channel Downtime | none
sensor 2042 Traffic Uplink
  probe Local Probe
  group Network
  device Core Router
  locale de
  channel Traffic In | 153440332 | Byte
  channel Errors In | 0 | # | 0 | 0
sensor 2077 CPU Load
  probe Remote Probe Berlin
  group Servers
  device File Server
  channel Total | 84.5 | % | 2
  channel Core 0 | 81.25 | % | 2
sensor 3001 Stalled
  fault stall
  channel A | 1 | #
sensor 3002 Failing
  fault 500
  channel A | 1 | #
sensor 3003 Half
  fault half
  channel A | 1 | #
  channel B | 2 | #
  channel C | 3 | #
sensor 3004 Junk
  fault junk
  channel A | 1 | #
sensor 3005 Dropped
  fault drop
  channel A | 1 | #
sensor 3006 Short
  fault short
  channel A | 1 | #
sensor 3007 Trickle
  fault trickle
  channel A | 1 | #
sensor 3008 Huge
  fault huge
  channel A | 1 | #
)";

// The login options of the simulator, followed by the extra ones.
inline std::vector<std::string> PrtgLogin(std::vector<std::string> extra = {}) {
  std::vector<std::string> options = {"--user", std::string(kPrtgUser),
                                      "--password", std::string(kPrtgPassword)};
  options.insert(options.end(), extra.begin(), extra.end());
  return options;
}

}  // namespace vigil::testing

#endif  // VIGIL_TESTS_PRTG_PRTG_TEST_SERVER_H_
