#include "vigil/wall_findings.h"

#include "store/orb_names.h"
#include "store/orbs_file.h"
#include "store/text.h"
#include "store/text_file.h"
#include "vigil/orb_words.h"
#include "vigil/orbs_file_check.h"

namespace vigil::cli {
namespace {

// Whose the line is: the mode's for the header, an orb's for its record
// and satellite lines, nobody's for a line the orbs skip.
std::string OwnerOf(const std::string& line, const std::string& mode) {
  if (IsHeaderLine(line, mode)) return mode;
  const std::string key = Mid(line, 1, 4);
  return IsOrbNumber(key) ? OrbStem(mode, key) : std::string();
}

}  // namespace

std::vector<std::string> WallFindings::Of(const WallOrb& orb) const {
  std::vector<std::string> found;
  for (const std::string& key : {orb.mode_word, orb.stem()}) {
    if (const auto texts_of = texts.find(key); texts_of != texts.end()) {
      found.insert(found.end(), texts_of->second.begin(),
                   texts_of->second.end());
    }
  }
  return found;
}

WallFindings CheckWall(const std::filesystem::path& dir,
                       const std::vector<std::string>& modes,
                       const std::filesystem::path& companion_dir) {
  FileSearch search;
  // Named once, so that a finding does not say "not in DIR or DIR".
  if (companion_dir.lexically_normal() != dir.lexically_normal()) {
    search.companion_dirs = {companion_dir};
  }
  search.working_dir = dir;
  WallFindings findings;
  for (const std::string& mode : modes) {
    const std::filesystem::path file = dir / OrbsFileName(mode);
    const auto lines = ReadLines(file);
    if (!lines) continue;
    for (const Finding& finding : CheckOrbsLines(*lines, {mode, search})) {
      if (finding.line < 1 ||
          static_cast<size_t>(finding.line) > lines->size()) {
        continue;
      }
      const std::string owner =
          OwnerOf((*lines)[static_cast<size_t>(finding.line) - 1], mode);
      if (owner.empty()) continue;
      findings.texts[owner].push_back(FormatFinding(file.string(), finding));
    }
  }
  return findings;
}

}  // namespace vigil::cli
