#include "vigil/wall_orbs.h"

#include <algorithm>

#include "store/orb_names.h"
#include "store/orbs_file.h"
#include "store/text.h"
#include "store/text_file.h"
#include "vigil/orb_words.h"
#include "vigil/orbs_file_input.h"

namespace vigil::cli {

std::vector<std::string> RecordNumbers(const std::vector<std::string>& lines,
                                       std::string_view mode_word) {
  // The header's key is its grid ("0806"), which the orb scan would take
  // for a record of that number.
  std::vector<std::string> body;
  for (const std::string& line : lines) {
    if (!IsHeaderLine(line, mode_word)) body.push_back(line);
  }
  std::vector<std::string> numbers;
  for (const std::string& line : body) {
    const std::string key = Mid(line, 1, 4);
    if (!IsOrbNumber(key)) continue;
    if (std::find(numbers.begin(), numbers.end(), key) != numbers.end()) {
      continue;
    }
    if (ScanOrb(body, mode_word, key).record) numbers.push_back(key);
  }
  return numbers;
}

WallScan ReadWall(const std::filesystem::path& dir,
                  const std::vector<std::string>& modes) {
  WallScan scan;
  std::vector<std::string> wanted = modes;
  if (wanted.empty()) {
    for (std::string_view mode : ModeWords()) {
      if (FileExists(dir / OrbsFileName(mode))) wanted.emplace_back(mode);
    }
    if (wanted.empty()) {
      scan.error = "no orbs file (RfcOrbs.Prf, HttpOrbs.Prf, AuxOrbs.Prf) in " +
                   dir.string();
      return scan;
    }
  }
  for (const std::string& mode : wanted) {
    const std::filesystem::path file = dir / OrbsFileName(mode);
    const auto lines = ReadLines(file);
    if (!lines) {
      scan.error = "cannot read " + file.string();
      return scan;
    }
    scan.modes.push_back(mode);
    // Satellite lines are found by key, so one body serves every record.
    std::vector<std::string> body;
    for (const std::string& line : *lines) {
      if (!IsHeaderLine(line, mode)) body.push_back(line);
    }
    for (const std::string& number : RecordNumbers(*lines, mode)) {
      scan.orbs.push_back({mode, number, *ScanOrb(body, mode, number).record});
    }
  }
  return scan;
}

}  // namespace vigil::cli
