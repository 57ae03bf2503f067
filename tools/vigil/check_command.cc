// vigil check FILE [--mode MODE] [--companion DIR]...
#include <filesystem>

#include "vigil/commands.h"
#include "vigil/option_words.h"
#include "vigil/orbs_file_check.h"
#include "vigil/orbs_file_input.h"
#include "vigil/shared_locks.h"

namespace vigil::cli {

int RunCheck(const Words& words, std::ostream& out, std::ostream& err) {
  const OptionWords options =
      ParseOptionWords(words, {"mode", "companion"}, {"no-files"});
  if (!options.error.empty() || options.positional.size() != 1) {
    err << "vigil check: "
        << (options.error.empty() ? "expected one orbs file" : options.error)
        << "\nusage: vigil check FILE [--mode RfcOrb|HttpOrb|AuxOrb] "
           "[--companion DIR]... [--no-files]\n";
    return 2;
  }
  const std::filesystem::path path = options.positional.front();
  const auto input =
      LoadOrbsFile(path, options.Value("mode"), Absent::kRefused, err);
  if (!input) return 2;
  CheckScope scope{input->mode_word, std::nullopt};
  if (!options.Has("no-files")) {
    scope.files = SearchFor(path, options.Values("companion"));
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

}  // namespace vigil::cli
