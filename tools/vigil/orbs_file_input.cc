#include "vigil/orbs_file_input.h"

#include <array>
#include <string_view>

#include "store/text.h"
#include "store/text_file.h"

namespace vigil::cli {
namespace {

constexpr std::array<std::string_view, 3> kModeWords = {"RfcOrb", "HttpOrb",
                                                        "AuxOrb"};

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
  } else {
    err << "vigil: " << path.string()
        << ": the file name does not tell the mode (RfcOrbs.Prf, "
           "HttpOrbs.Prf or AuxOrbs.Prf); give --mode\n";
    return std::nullopt;
  }
  std::error_code error;
  input.exists = std::filesystem::exists(path, error);
  if (!input.exists && absent == Absent::kAllowed) return input;
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
  return input;
}

}  // namespace vigil::cli
