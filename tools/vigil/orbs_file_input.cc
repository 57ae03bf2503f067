#include "vigil/orbs_file_input.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "store/orb_mode.h"
#include "store/orbs_file.h"
#include "store/text.h"
#include "store/text_file.h"

namespace vigil::cli {
namespace {

constexpr std::array<std::string_view, 3> kModeWords = {
    kOrbModes[0].word, kOrbModes[1].word, kOrbModes[2].word};

constexpr char kNoModeTold[] =
    ": neither the file name (RfcOrbs.Prf, HttpOrbs.Prf or AuxOrbs.Prf) nor "
    "a header line tells the mode; give --mode\n";

std::optional<std::string> ModeFromHeader(
    const std::vector<std::string>& lines) {
  std::optional<std::string> found;
  for (const std::string_view mode : kModeWords) {
    const bool has_header = std::any_of(
        lines.begin(), lines.end(),
        [&](const std::string& line) { return IsHeaderLine(line, mode); });
    if (!has_header) continue;
    if (found) return std::nullopt;  // two modes' headers: no telling
    found = std::string(mode);
  }
  return found;
}

}  // namespace

const std::array<std::string_view, 3>& ModeWords() { return kModeWords; }

bool IsModeWord(std::string_view word) {
  for (const std::string_view mode : kModeWords) {
    if (word == mode) return true;
  }
  return false;
}

std::optional<std::string> ModeFromFileName(const std::filesystem::path& file) {
  const std::string name = ToLower(file.filename().string());
  for (const std::string_view mode : kModeWords) {
    if (name.rfind(ToLower(mode) + "s.", 0) == 0) return std::string(mode);
  }
  return std::nullopt;
}

std::optional<OrbsFileInput> LoadOrbsFile(
    const std::filesystem::path& path,
    const std::optional<std::string>& mode_option, Absent absent,
    std::ostream& err) {
  OrbsFileInput input;
  input.path = path;
  if (mode_option) {
    if (!IsModeWord(*mode_option)) {
      err << "vigil: mode \"" << *mode_option
          << "\" is unknown; expected RfcOrb, HttpOrb or AuxOrb\n";
      return std::nullopt;
    }
    input.mode_word = *mode_option;
  } else if (const auto mode = ModeFromFileName(path)) {
    input.mode_word = *mode;
  }
  std::error_code error;
  input.exists = std::filesystem::exists(path, error);
  if (!input.exists && absent == Absent::kAllowed) {
    if (!input.mode_word.empty()) return input;
    err << "vigil: " << path.string() << kNoModeTold;
    return std::nullopt;
  }
  if (!input.exists) {
    err << "vigil: " << path.string() << ": no such file\n";
    return std::nullopt;
  }
  if (std::filesystem::is_directory(path, error)) {
    err << "vigil: " << path.string() << ": is a directory\n";
    return std::nullopt;
  }
  const auto bytes = ReadFileBytes(path);
  if (!bytes) {
    err << "vigil: " << path.string() << ": cannot be read\n";
    return std::nullopt;
  }
  input.lines = SplitLines(*bytes);
  if (input.mode_word.empty()) {
    const auto mode = ModeFromHeader(input.lines);
    if (!mode) {
      err << "vigil: " << path.string() << kNoModeTold;
      return std::nullopt;
    }
    input.mode_word = *mode;
  }
  return input;
}

}  // namespace vigil::cli
