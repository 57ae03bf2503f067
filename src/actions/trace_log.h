// The action log lines: one line per mail, exec, value trace or program
// run, appended to the log file named in the trace settings.
//
// Layout, without separators: "DD.MM.YY hh:mm", "     1", the kind word,
// the identity (display name in 11 characters, profile name in 12), " ",
// the measure, " ", the message and, for mails, the mail outcome.
#ifndef VIGIL_ACTIONS_TRACE_LOG_H_
#define VIGIL_ACTIONS_TRACE_LOG_H_

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "actions/action_dispatch.h"
#include "store/clock_text.h"

namespace vigil {

// Columns 17 on of the trace settings: four log file names, each ending
// in ";": mail log, exec log, value-trace log, run-trace log.
inline constexpr int kLogNamesColumn = 17;

// The log file name of a kind from the trace settings.
std::string LogFileName(std::string_view trace_settings, ActionKind kind);

// The directory part of a log file name, before its last "/"; nullopt when
// the name has none.
std::optional<std::string> LogDirectory(std::string_view log_file_name);

// " S.Mail ", " V.Mail ", " S.Exec ", " V.Exec ", " ValTrc ", " RfcTrc ".
std::string_view KindWord(ActionKind kind);

// Display name and profile name of the configuration record, cut or padded
// to 11 and 12 characters.
std::string Identity(const ConfigRecord& record);

// Mails, execs and program runs: "%12.3f" seconds and " Sec   ".
std::string DurationMeasure(double seconds);
// Value traces: "%12.3f" value, " ", the unit in 6 characters.
std::string ValueMeasure(double value, std::string_view unit);

std::string TraceLine(WallClock::time_point when, ActionKind kind,
                      std::string_view identity, std::string_view measure,
                      std::string_view message, std::string_view outcome = {});

// Appends the line and CR LF in one write to the file opened for appending,
// so that lines of sibling orbs never mix; nothing of it goes through a
// shell. False when the file could not be written.
bool AppendTraceLine(const std::filesystem::path& file, std::string_view line);

}  // namespace vigil

#endif  // VIGIL_ACTIONS_TRACE_LOG_H_
