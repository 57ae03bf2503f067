// What vigil keeps about the orbs it started, in ".vigil" under the
// working directory: a pid file and an output file per orb, the companion
// directory the wall was last started with, so that a restart gives a
// crashed orb the command line it had, and the links vigil made.
#ifndef VIGIL_TOOLS_VIGIL_LAUNCHER_FILES_H_
#define VIGIL_TOOLS_VIGIL_LAUNCHER_FILES_H_

#include <sys/types.h>

#include <ctime>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace vigil::cli {

inline constexpr char kLauncherDirName[] = ".vigil";

// Links vigil made in the working directory, by name, with their targets.
using MadeLinks = std::map<std::string, std::filesystem::path>;

class LauncherFiles {
 public:
  explicit LauncherFiles(std::filesystem::path working_dir);

  const std::filesystem::path& dir() const { return dir_; }
  // Creates ".vigil" when it is missing.
  bool MakeDir() const;
  // ".vigil/AuxOrb0203.pid" and ".vigil/AuxOrb0203.out".
  std::filesystem::path PidFile(std::string_view stem) const;
  std::filesystem::path OutputFile(std::string_view stem) const;

  // nullopt without a pid file or when it holds no pid.
  std::optional<pid_t> ReadPid(std::string_view stem) const;
  // When the pid file was written: the orb's start.
  std::optional<std::time_t> StartTime(std::string_view stem) const;
  bool WritePid(std::string_view stem, pid_t pid) const;
  void RemovePid(std::string_view stem) const;

  std::optional<std::filesystem::path> RememberedCompanion() const;
  void RememberCompanion(const std::filesystem::path& companion_dir) const;

  MadeLinks ReadMadeLinks() const;
  void WriteMadeLinks(const MadeLinks& links) const;

 private:
  std::filesystem::path dir_;
};

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_LAUNCHER_FILES_H_
