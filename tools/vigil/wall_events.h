// What a mode's event log says of one orb since it was started: the lines
// carry the time to the second, the event code and the orb number, which
// an orb that failed before it read its record cannot give.
#ifndef VIGIL_TOOLS_VIGIL_WALL_EVENTS_H_
#define VIGIL_TOOLS_VIGIL_WALL_EVENTS_H_

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vigil::cli {

struct LogEvent {
  std::string time_key;  // "YYMMDDhhmmss", which sorts in time order
  std::string code;      // "Fail", "Stop" ...
  std::string number;    // empty for a line without an orb number
  std::string message;   // after the lock name, the target and the source
};

// nullopt for a line without a readable date and time.
std::optional<LogEvent> ReadLogEvent(std::string_view line);

// A start as a log line's time key, in local time as the orbs log.
std::string TimeKey(std::time_t when);

// Whole lines, empty when there is none.
struct OrbLog {
  std::string last_event;   // the orb's newest line
  bool stopped = false;     // it logged "Stop"
  std::string own_failure;  // its newest "Fail"
  // The newest "Fail" without a number: an orb that failed before it read
  // its record (its mode's extension library or header) logs so.
  std::string unnamed_failure;
};

// The message of a log line, empty for none.
std::string MessageOf(std::string_view line);

// The lines of the orb of this number logged after the second of since
// (nullopt: all of them). An orb logs nothing in its first seconds, so a
// line of that second is an earlier run's.
OrbLog ReadOrbLog(const std::vector<std::string>& log_lines,
                  std::string_view number, std::optional<std::time_t> since);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_WALL_EVENTS_H_
