// The orbs file a subcommand works on: its path, its mode and its lines.
#ifndef VIGIL_TOOLS_VIGIL_ORBS_FILE_INPUT_H_
#define VIGIL_TOOLS_VIGIL_ORBS_FILE_INPUT_H_

#include <array>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vigil::cli {

// "AuxOrbs.Prf" (any case, any suffix after the "s.") gives "AuxOrb".
std::optional<std::string> ModeFromFileName(const std::filesystem::path& file);
bool IsModeWord(std::string_view word);
// "RfcOrb", "HttpOrb", "AuxOrb".
const std::array<std::string_view, 3>& ModeWords();

struct OrbsFileInput {
  std::filesystem::path path;
  std::string mode_word;
  bool exists = false;
  std::vector<std::string> lines;  // LF or CR LF, as the orb reads them
};

enum class Absent { kRefused, kAllowed };

// The mode from --mode or else the file name. nullopt after telling err
// why: no mode, or a file that cannot be read (a missing one only when
// absent is kRefused).
std::optional<OrbsFileInput> LoadOrbsFile(
    const std::filesystem::path& path,
    const std::optional<std::string>& mode_option, Absent absent,
    std::ostream& err);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_ORBS_FILE_INPUT_H_
