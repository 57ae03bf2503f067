// vigil check [FILE|--dir DIR] [--mode MODE] [--companion DIR]...
#include <algorithm>
#include <filesystem>

#include "store/orb_names.h"
#include "vigil/command_usage.h"
#include "vigil/commands.h"
#include "vigil/launcher_files.h"
#include "vigil/option_words.h"
#include "vigil/orbs_file_check.h"
#include "vigil/orbs_file_input.h"
#include "vigil/shared_locks.h"

namespace vigil::cli {
namespace {

namespace fs = std::filesystem;

// The orbs files of a wall's directory, one per mode that has one.
std::vector<fs::path> OrbsFilesIn(const fs::path& dir) {
  std::vector<fs::path> files;
  std::error_code error;
  for (const std::string_view mode : ModeWords()) {
    const fs::path file =
        dir == "." ? fs::path(OrbsFileName(mode)) : dir / OrbsFileName(mode);
    if (fs::is_regular_file(file, error)) files.push_back(file);
  }
  return files;
}

// The companion directories given, else the one vigil start remembered
// for the wall, so that check sees the files the orbs will find.
std::vector<std::string> CompanionDirs(const OptionWords& options,
                                       const fs::path& orbs_file) {
  std::vector<std::string> dirs = options.Values("companion");
  if (!dirs.empty()) return dirs;
  const fs::path wall =
      orbs_file.has_parent_path() ? orbs_file.parent_path() : fs::path(".");
  if (const auto remembered = LauncherFiles(wall).RememberedCompanion()) {
    dirs.push_back(remembered->string());
  }
  return dirs;
}

int CheckFile(const fs::path& path, const OptionWords& options,
              std::ostream& out, std::ostream& err) {
  const auto input =
      LoadOrbsFile(path, options.Value("mode"), Absent::kRefused, err);
  if (!input) return 2;
  CheckScope scope{input->mode_word, std::nullopt};
  if (!options.Has("no-files")) {
    scope.files = SearchFor(path, CompanionDirs(options, path));
  }
  const std::vector<Finding> findings = CheckOrbsLines(input->lines, scope);
  for (const Finding& finding : findings) {
    out << FormatFinding(path.string(), finding) << '\n';
  }
  const size_t orbs = RecordNumbers(input->lines, input->mode_word).size();
  if (findings.empty()) {
    out << path.string() << ": sound, " << orbs
        << (orbs == 1 ? " orb" : " orbs") << " of mode " << input->mode_word
        << '\n';
  } else {
    out << path.string() << ": " << findings.size()
        << (findings.size() == 1 ? " problem" : " problems") << '\n';
  }
  for (const SharedLock& lock : SharedLocks(input->lines, input->mode_word)) {
    out << SharedLockNote(lock) << '\n';
  }
  return findings.empty() ? 0 : 1;
}

}  // namespace

int RunCheck(const Words& words, std::ostream& out, std::ostream& err) {
  const Result<OptionWords> parsed =
      ParseOptionWords(words, {"mode", "companion", "dir"}, {"no-files"});
  const OptionWords options = parsed.value_or({});
  const bool both = options.positional.size() == 1 && options.Value("dir");
  if (!parsed || options.positional.size() > 1 || both) {
    err << "vigil check: "
        << (!parsed ? parsed.error()
            : both  ? "a FILE or --dir DIR, not both"
                    : "expected one orbs file")
        << '\n'
        << UsageLineOf("check");
    return 2;
  }
  if (!options.positional.empty()) {
    return CheckFile(options.positional.front(), options, out, err);
  }
  // The wall in the directory: each mode's orbs file there.
  const fs::path dir = options.Value("dir").value_or(".");
  const std::vector<fs::path> files = OrbsFilesIn(dir);
  if (files.empty()) {
    err << "vigil check: no orbs file (RfcOrbs.Prf, HttpOrbs.Prf or "
           "AuxOrbs.Prf) in "
        << dir.string() << "; name one or give --dir\n";
    return 2;
  }
  int status = 0;
  for (const fs::path& file : files) {
    status = std::max(status, CheckFile(file, options, out, err));
  }
  return status;
}

}  // namespace vigil::cli
