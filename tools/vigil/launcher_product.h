// The parts of Vigil Panel an orb needs beside its orbs file, found from
// where vigil itself lies: in the build tree (bin, lib, assets) or in an
// installation (bin, lib/vigil-panel, share/vigil-panel).
#ifndef VIGIL_TOOLS_VIGIL_LAUNCHER_PRODUCT_H_
#define VIGIL_TOOLS_VIGIL_LAUNCHER_PRODUCT_H_

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "vigil/launcher_files.h"

namespace vigil::cli {

struct ProductLayout {
  std::filesystem::path bin_dir;                    // RfcOrb, HttpOrb, AuxOrb
  std::vector<std::filesystem::path> library_dirs;  // RfcOrbs.so ...
  std::vector<std::filesystem::path> picture_dirs;  // Gauges/, Images/
};

// The running vigil's own path.
std::filesystem::path SelfExecutable();

// bin_dir, when given, replaces the folder of the orb executables.
ProductLayout FindProduct(const std::filesystem::path& vigil_executable,
                          const std::filesystem::path& bin_dir);

struct ProductLinks {
  std::vector<std::string> notes;     // a link made or made anew
  std::vector<std::string> problems;  // a link that points nowhere, left
};

// Links into the working directory what the orbs of this mode need and it
// lacks: the mode's extension library and the Gauges and Images folders.
// Nothing there is replaced but a link of made that points nowhere any
// more (an installation removed since); made gains each link made.
ProductLinks LinkProductFiles(const std::filesystem::path& working_dir,
                              std::string_view mode_word,
                              const ProductLayout& product, MadeLinks& made);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_LAUNCHER_PRODUCT_H_
