// The sensors the simulator serves, read from a plain text file.
//
// One setting per line; words are separated by blanks; empty lines and
// lines starting with "#" are ignored. Before the first "sensor" line:
//
//   locale en|de                         separators of the display values
//   credentials USER PASSWORD [PASSHASH] the one accepted login
//   apitoken KEY                         the one accepted API key, also
//                                        when the command line sets the
//                                        login; a request that carries
//                                        apitoken= is judged by it alone
//   next K FAULT                         the next K requests of any kind
//                                        get FAULT (lines queue up in order)
//
// "sensor ID NAME..." starts a sensor; the lines after it belong to it:
//
//   probe TEXT | group TEXT | device TEXT | message TEXT | type TEXT
//   status Up|Warning|Down|Paused|Unusual|Unknown
//   locale en|de                         overrides the global choice
//   fault FAULT                          every request for this id
//   channel NAME | VALUE | UNIT | DECIMALS | SPAN
//
// VALUE is a number ("." as the point), "-" for an empty last value, or
// "none" for a channel without a last value (such as "Downtime"). UNIT,
// DECIMALS (default 0) and SPAN may be left out; SPAN bounds the random
// walk of the value around VALUE (default 5 per cent of it, 0 keeps it).
//
// FAULT is one of: stall (never answer), delay SECONDS, drop (close without
// answer), 500, half (a 200 whose document breaks off in the middle),
// short (the body ends before its Content-Length), junk (binary bytes).
#ifndef VIGIL_TOOLS_PRTG_SIM_SENSOR_SET_H_
#define VIGIL_TOOLS_PRTG_SIM_SENSOR_SET_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vigil::sim {

enum class Locale { kEnglish, kGerman };

enum class FaultKind {
  kNone,
  kStall,
  kDelay,
  kDrop,
  kServerError,
  kUnauthorized,  // as if the login no longer held for this sensor
  kHalf,
  kShort,
  kJunk,
  kTrickle,  // the whole answer, one byte a second
  kHuge      // an answer of 50 MB
};

struct Fault {
  FaultKind kind = FaultKind::kNone;
  int seconds = 0;  // for kDelay
};

struct QueuedFault {
  int count = 0;
  Fault fault;
};

enum class ValueKind { kNumber, kEmpty, kAbsent };

struct Channel {
  std::string name;
  ValueKind kind = ValueKind::kNumber;
  double value = 0;
  std::string unit;
  int decimals = 0;
  std::optional<double> span;  // default: 5 per cent of the value
};

struct Sensor {
  long long id = 0;
  std::string name;
  std::string type = "custom";
  std::string probe = "Local Probe";
  std::string group = "Servers";
  std::string device = "Device";
  std::string status = "Up";
  std::string message = "OK";
  std::optional<Locale> locale;
  Fault fault;
  std::vector<Channel> channels;
};

struct Credentials {
  std::string user;
  std::string password;
  std::string passhash;
  bool Configured() const { return !user.empty(); }
};

struct SensorSet {
  std::optional<Locale> locale;
  Credentials credentials;
  std::string api_token;  // empty: no key is accepted
  std::vector<QueuedFault> next_faults;
  std::vector<Sensor> sensors;
};

struct SensorSetParse {
  std::optional<SensorSet> set;
  std::string error;  // "line N: ..." when set is empty
};

SensorSetParse ParseSensorSet(std::string_view text);

std::optional<Locale> ParseLocale(std::string_view word);

// {"delay", "5"} and the like; nullopt for an unknown or incomplete fault.
std::optional<Fault> ParseFault(const std::vector<std::string>& words);

}  // namespace vigil::sim

#endif  // VIGIL_TOOLS_PRTG_SIM_SENSOR_SET_H_
