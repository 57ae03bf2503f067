// The event log shared by all orbs of a mode: its newest 100 lines.
#ifndef VIGIL_STORE_EVENT_LOG_H_
#define VIGIL_STORE_EVENT_LOG_H_

#include <filesystem>
#include <string>
#include <string_view>

#include "store/clock_text.h"
#include "store/config_record.h"

namespace vigil {

inline constexpr size_t kEventLogLines = 100;

// What every line carries besides the event itself.
struct EventLogContext {
  std::string mode_word;
  ConfigRecord record;  // empty before the record was found
  std::string lock_name;
  bool log_every_event = false;  // header column 19 not "."
};

std::string EventLogName(std::string_view mode_word);  // "AuxOrbs.Log"

// Fail Strt Stop Warn Alrt Rset Susp Rsme are always written.
bool IsMainEvent(std::string_view code);

std::string FormatLogLine(const EventLogContext& context, std::string_view code,
                          std::string_view message, WallClock::time_point when);

class EventLog final {
 public:
  explicit EventLog(std::filesystem::path file) : file_(std::move(file)) {}

  void set_context(EventLogContext context) { context_ = std::move(context); }
  const EventLogContext& context() const { return context_; }
  const std::filesystem::path& file() const { return file_; }

  // Never fails for the caller: an unreadable or unwritable log loses the
  // line. Several processes append, so the read-modify-write is locked.
  void Log(std::string_view code, std::string_view message) {
    LogAt(code, message, WallClock::now());
  }
  void LogAt(std::string_view code, std::string_view message,
             WallClock::time_point when);
  // Also when the log records only the main events: for what an operator
  // must hear of whatever the log mode.
  void LogAlways(std::string_view code, std::string_view message) {
    Append(code, message, WallClock::now());
  }

 private:
  void Append(std::string_view code, std::string_view message,
              WallClock::time_point when);

  std::filesystem::path file_;
  EventLogContext context_;
};

}  // namespace vigil

#endif  // VIGIL_STORE_EVENT_LOG_H_
