#include "actions/trace_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "actions/settings_fields.h"
#include "store/config_record.h"
#include "store/text.h"
#include "store/text_file.h"

namespace vigil {
namespace {

int LogIndex(ActionKind kind) {
  switch (kind) {
    case ActionKind::kStateMail:
    case ActionKind::kValueMail:
      return 1;
    case ActionKind::kStateExec:
    case ActionKind::kValueExec:
      return 2;
    case ActionKind::kValueTrace:
      return 3;
    case ActionKind::kRunTrace:
      return 4;
  }
  return 0;
}

std::string Fixed3(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%12.3f", value);
  return text;
}

}  // namespace

std::string LogFileName(std::string_view trace_settings, ActionKind kind) {
  return TerminatedField(Mid(trace_settings, kLogNamesColumn), LogIndex(kind));
}

std::optional<std::string> LogDirectory(std::string_view log_file_name) {
  const size_t slash = log_file_name.rfind('/');
  if (slash == std::string_view::npos) return std::nullopt;
  return std::string(log_file_name.substr(0, slash));
}

std::string_view KindWord(ActionKind kind) {
  switch (kind) {
    case ActionKind::kStateMail:
      return " S.Mail ";
    case ActionKind::kValueMail:
      return " V.Mail ";
    case ActionKind::kStateExec:
      return " S.Exec ";
    case ActionKind::kValueExec:
      return " V.Exec ";
    case ActionKind::kValueTrace:
      return " ValTrc ";
    case ActionKind::kRunTrace:
      return " RfcTrc ";
  }
  return " ";
}

std::string Identity(const ConfigRecord& record) {
  const std::string profile = TerminatedField(record.tail_text(), 1);
  return FixedWidth(record.display_name(), 11) + FixedWidth(profile, 12);
}

std::string DurationMeasure(double seconds) {
  return Fixed3(seconds) + " Sec   ";
}

std::string ValueMeasure(double value, std::string_view unit) {
  return Fixed3(value) + " " + FixedWidth(unit, 6);
}

std::string TraceLine(WallClock::time_point when, ActionKind kind,
                      std::string_view identity, std::string_view measure,
                      std::string_view message, std::string_view outcome) {
  std::string line = DateText(when) + " " + Mid(TimeText(when), 1, 5);
  line += "     1";
  line += KindWord(kind);
  line += identity;
  line += " ";
  line += measure;
  line += " ";
  line += message;
  line += outcome;
  return line;
}

bool AppendTraceLine(const std::filesystem::path& file, std::string_view line) {
  const int fd =
      ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const std::string bytes = std::string(line) + std::string(kCrLf);
  ssize_t written;
  do {
    written = ::write(fd, bytes.data(), bytes.size());
  } while (written < 0 && errno == EINTR);
  ::close(fd);
  return written == static_cast<ssize_t>(bytes.size());
}

}  // namespace vigil
