#include "vigil/companion_findings.h"

#include <unistd.h>

#include <optional>
#include <string>

#include "monitor/sensor_timeout.h"
#include "store/orb_mode.h"
#include "store/text_file.h"
#include "vigil/shown_text.h"

namespace vigil::cli {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Directories(std::string_view mode_word,
                                  const FileSearch& search) {
  // An HttpOrb takes its source as written, from its working directory.
  std::vector<fs::path> dirs;
  if (!OrbModeOf(mode_word).http) dirs = search.companion_dirs;
  dirs.push_back(search.working_dir.empty() ? fs::path(".")
                                            : search.working_dir);
  return dirs;
}

std::optional<fs::path> Find(const std::string& name,
                             const std::vector<fs::path>& dirs) {
  std::error_code error;
  for (const fs::path& dir : dirs) {
    const fs::path candidate = dir / name;  // an absolute name stays itself
    if (fs::is_regular_file(candidate, error)) return candidate;
  }
  return std::nullopt;
}

std::string DirectoriesText(const std::vector<fs::path>& dirs) {
  std::string text;
  for (size_t i = 0; i < dirs.size(); ++i) {
    if (i > 0) text += i + 1 == dirs.size() ? " or " : ", ";
    text += Quoted(dirs[i].string());
  }
  return text;
}

void CheckSensorTimeout(const fs::path& profile, int line, int column,
                        std::vector<Finding>& findings) {
  const auto lines = ReadLines(profile);
  if (!lines) return;
  const Result<SensorTimeLimit> limit = ReadSensorTimeout(*lines);
  if (limit) return;
  findings.push_back(
      {line, column,
       "source profile " + Quoted(profile.string()) + ": " + limit.error() +
           "; expected \"" + std::string(kSensorTimeoutKey) +
           "\" and whole seconds, or 0 for none (the orb runs its sensor "
           "without a limit)"});
}

}  // namespace

FileSearch SearchFor(const std::filesystem::path& orbs_file,
                     const std::vector<std::string>& companion_dirs) {
  FileSearch search;
  for (const std::string& dir : companion_dirs) {
    search.companion_dirs.emplace_back(dir);
  }
  search.working_dir = orbs_file.parent_path();
  return search;
}

void CheckSensorProgram(const ConfigRecord& record, int line,
                        std::string_view mode_word, const FileSearch& search,
                        std::vector<Finding>& findings) {
  if (OrbModeOf(mode_word).http) return;
  if (static_cast<int>(record.text().size()) < record_layout::kTail) return;
  const RecordTail tail = record.tail();
  const std::vector<fs::path> dirs = Directories(mode_word, search);
  const int program_column =
      record_layout::kTail + static_cast<int>(tail.source.size()) + 1;
  if (tail.program.empty()) {
    findings.push_back({line, program_column,
                        "sensor program is empty; expected the program's "
                        "file name after the source's \";\""});
    return;
  }
  const auto program = Find(tail.program, dirs);
  if (!program) {
    findings.push_back({line, program_column,
                        "sensor program " + Quoted(tail.program) +
                            " is not in " + DirectoriesText(dirs) +
                            "; expected the program there"});
  } else if (::access(program->c_str(), X_OK) != 0) {
    findings.push_back({line, program_column,
                        "sensor program " + Quoted(program->string()) +
                            " is not executable; expected a program file "
                            "with execute permission"});
  }
}

void CheckCompanionFiles(const ConfigRecord& record, int line,
                         std::string_view mode_word, const FileSearch& search,
                         std::vector<Finding>& findings) {
  if (static_cast<int>(record.text().size()) < record_layout::kTail) return;
  const int source_column = record_layout::kTail;
  const RecordTail tail = record.tail();
  const std::vector<fs::path> dirs = Directories(mode_word, search);
  if (tail.source.empty()) {
    findings.push_back({line, source_column,
                        "source is empty; expected a profile file name or "
                        "Global before the tail's first \";\""});
  } else if (!record.global_source()) {
    if (const auto profile = Find(tail.source, dirs)) {
      CheckSensorTimeout(*profile, line, source_column, findings);
    } else {
      findings.push_back({line, source_column,
                          "source profile " + Quoted(tail.source) +
                              " is not in " + DirectoriesText(dirs) +
                              "; expected the file there (--companion DIR "
                              "names the companion directory), or Global"});
    }
  }
  CheckSensorProgram(record, line, mode_word, search, findings);
}

}  // namespace vigil::cli
