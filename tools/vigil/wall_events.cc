#include "vigil/wall_events.h"

#include "store/text.h"
#include "vigil/orb_words.h"

namespace vigil::cli {
namespace {

// Columns 24-27 hold the orb number and a blank, after date, time and
// code; the message follows the lock name, the target and the source.
constexpr int kNumberColumn = 24;
constexpr int kSeparatorsBeforeMessage = 3;

std::string MessageAfter(std::string_view rest) {
  size_t at = 0;
  for (int i = 0; i < kSeparatorsBeforeMessage; ++i) {
    at = rest.find(';', at);
    if (at == std::string_view::npos) return {};
    ++at;
  }
  return std::string(rest.substr(at));
}

}  // namespace

std::optional<LogEvent> ReadLogEvent(std::string_view line) {
  const std::string date = Mid(line, 1, 8);
  const std::string time = Mid(line, 10, 8);
  const std::string key = Mid(date, 7, 2) + Mid(date, 4, 2) + Mid(date, 1, 2) +
                          Mid(time, 1, 2) + Mid(time, 4, 2) + Mid(time, 7, 2);
  if (key.size() != 12 || !IsDigits(key)) return std::nullopt;
  LogEvent event{key, Mid(line, 19, 4), {}, {}};
  const std::string number = Mid(line, kNumberColumn, 4);
  const bool numbered =
      IsOrbNumber(number) && Mid(line, kNumberColumn + 4, 1) == " ";
  if (numbered) event.number = number;
  const size_t rest = static_cast<size_t>(kNumberColumn - 1) +
                      (numbered ? number.size() + 1 : 0);
  if (line.size() > rest) event.message = MessageAfter(line.substr(rest));
  return event;
}

std::string MessageOf(std::string_view line) {
  const auto event = ReadLogEvent(line);
  return event ? event->message : std::string();
}

std::string TimeKey(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char key[16] = {};
  std::strftime(key, sizeof key, "%y%m%d%H%M%S", &local);
  return key;
}

OrbLog ReadOrbLog(const std::vector<std::string>& log_lines,
                  std::string_view number, std::optional<std::time_t> since) {
  const std::string since_key = since ? TimeKey(*since) : std::string();
  OrbLog log;
  // The log only grows at its end, so the first older line ends the look.
  for (auto line = log_lines.rbegin(); line != log_lines.rend(); ++line) {
    const auto event = ReadLogEvent(*line);
    if (!event) continue;
    if (since && event->time_key <= since_key) break;
    const bool failure = event->code == "Fail";
    if (event->number.empty()) {
      if (failure && !event->message.empty() && log.unnamed_failure.empty()) {
        log.unnamed_failure = *line;
      }
      continue;
    }
    if (event->number != number) continue;
    if (log.last_event.empty()) log.last_event = *line;
    log.stopped = log.stopped || event->code == "Stop";
    if (failure && log.own_failure.empty()) log.own_failure = *line;
  }
  return log;
}

}  // namespace vigil::cli
