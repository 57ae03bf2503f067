#include "store/event_log.h"

#include <vector>

#include "store/file_lock.h"
#include "store/text.h"
#include "store/text_file.h"

namespace vigil {

std::string EventLogName(std::string_view mode_word) {
  return std::string(mode_word) + "s.Log";
}

bool IsMainEvent(std::string_view code) {
  return Pos(code, "Fail Strt Stop Warn Alrt Rset Susp Rsme") > 0;
}

std::string FormatLogLine(const EventLogContext& context, std::string_view code,
                          std::string_view message,
                          WallClock::time_point when) {
  std::string line = DateText(when) + " " + TimeText(when) + " ";
  line += code;
  line += " ";
  line += context.record.log_key();
  line += Trim(context.lock_name) + ";";
  line += context.record.LogTarget(context.mode_word) + ";";
  line += context.record.tail().source + ";";
  line += message;
  return line;
}

void EventLog::LogAt(std::string_view code, std::string_view message,
                     WallClock::time_point when) {
  if (!IsMainEvent(code) && !context_.log_every_event) return;
  Append(code, message, when);
}

void EventLog::Append(std::string_view code, std::string_view message,
                      WallClock::time_point when) {
  FileLock lock(file_);
  std::vector<std::string> lines;
  if (FileExists(file_)) {
    auto existing = ReadLines(file_);
    if (!existing) return;
    lines = std::move(*existing);
  }
  lines.push_back(FormatLogLine(context_, code, message, when));
  if (lines.size() > kEventLogLines) {
    lines.erase(lines.begin(), lines.end() - kEventLogLines);
  }
  WriteLinesAtomically(file_, lines);
}

}  // namespace vigil
