#include "vigil/launcher_files.h"

#include <sys/stat.h>

#include <system_error>

#include "store/file_remover.h"
#include "store/text.h"
#include "store/text_file.h"

namespace vigil::cli {
namespace {

constexpr char kCompanionFileName[] = "companion";
// "NAME<TAB>TARGET" per line.
constexpr char kLinksFileName[] = "links";

}  // namespace

LauncherFiles::LauncherFiles(std::filesystem::path working_dir)
    : dir_(std::move(working_dir) / kLauncherDirName) {}

std::filesystem::path LauncherFiles::PidFile(std::string_view stem) const {
  return dir_ / (std::string(stem) + ".pid");
}

std::filesystem::path LauncherFiles::OutputFile(std::string_view stem) const {
  return dir_ / (std::string(stem) + ".out");
}

bool LauncherFiles::MakeDir() const {
  std::error_code error;
  std::filesystem::create_directories(dir_, error);
  return !error;
}

std::optional<pid_t> LauncherFiles::ReadPid(std::string_view stem) const {
  const auto lines = ReadLines(PidFile(stem));
  if (!lines || lines->empty()) return std::nullopt;
  const auto pid = ParseInteger(lines->front());
  if (!pid || *pid < 1) return std::nullopt;
  return static_cast<pid_t>(*pid);
}

std::optional<std::time_t> LauncherFiles::StartTime(
    std::string_view stem) const {
  struct stat status {};
  if (stat(PidFile(stem).c_str(), &status) != 0) return std::nullopt;
  return status.st_mtime;
}

bool LauncherFiles::WritePid(std::string_view stem, pid_t pid) const {
  return MakeDir() &&
         WriteLinesAtomically(PidFile(stem), {std::to_string(pid)}, "\n");
}

void LauncherFiles::RemovePid(std::string_view stem) const {
  RemoveFile(PidFile(stem));
}

std::optional<std::filesystem::path> LauncherFiles::RememberedCompanion()
    const {
  const auto lines = ReadLines(dir_ / kCompanionFileName);
  if (!lines || lines->empty() || lines->front().empty()) return std::nullopt;
  return std::filesystem::path(lines->front());
}

void LauncherFiles::RememberCompanion(
    const std::filesystem::path& companion_dir) const {
  if (MakeDir()) {
    WriteLinesAtomically(dir_ / kCompanionFileName, {companion_dir.string()},
                         "\n");
  }
}

MadeLinks LauncherFiles::ReadMadeLinks() const {
  MadeLinks links;
  for (const std::string& line :
       ReadLines(dir_ / kLinksFileName).value_or(std::vector<std::string>{})) {
    const size_t tab = line.find('\t');
    if (tab != std::string::npos && tab > 0) {
      links[line.substr(0, tab)] = line.substr(tab + 1);
    }
  }
  return links;
}

void LauncherFiles::WriteMadeLinks(const MadeLinks& links) const {
  std::vector<std::string> lines;
  for (const auto& [name, target] : links) {
    lines.push_back(name + "\t" + target.string());
  }
  if (MakeDir()) WriteLinesAtomically(dir_ / kLinksFileName, lines, "\n");
}

}  // namespace vigil::cli
