#include "vigil/launcher_product.h"

#include <system_error>

#include "store/orb_names.h"

namespace vigil::cli {
namespace {

bool Exists(const std::filesystem::path& path) {
  std::error_code error;
  // A dangling link is something the operator put there: leave it.
  return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

std::vector<std::string> LinkFirstFound(
    const std::filesystem::path& working_dir, const std::string& name,
    const std::vector<std::filesystem::path>& dirs) {
  if (Exists(working_dir / name)) return {};
  for (const std::filesystem::path& dir : dirs) {
    std::error_code error;
    if (!std::filesystem::exists(dir / name, error)) continue;
    const std::filesystem::path target =
        std::filesystem::weakly_canonical(dir / name, error);
    if (error) continue;
    std::filesystem::create_symlink(target, working_dir / name, error);
    if (error) return {"could not link " + name + ": " + error.message()};
    return {"linked " + name + " -> " + target.string()};
  }
  return {};
}

}  // namespace

std::filesystem::path SelfExecutable() {
  std::error_code error;
  std::filesystem::path self =
      std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : self;
}

ProductLayout FindProduct(const std::filesystem::path& vigil_executable,
                          const std::filesystem::path& bin_dir) {
  const std::filesystem::path own_bin = vigil_executable.parent_path();
  const std::filesystem::path prefix = own_bin.parent_path();
  ProductLayout layout;
  layout.bin_dir = bin_dir.empty() ? own_bin : bin_dir;
  layout.library_dirs = {prefix / "lib/vigil-panel", prefix / "lib"};
  layout.picture_dirs = {prefix / "share/vigil-panel", prefix / "assets"};
  return layout;
}

std::vector<std::string> LinkProductFiles(
    const std::filesystem::path& working_dir, std::string_view mode_word,
    const ProductLayout& product) {
  std::vector<std::string> notes = LinkFirstFound(
      working_dir, ExtensionLibraryName(mode_word), product.library_dirs);
  for (const char* folder : {"Gauges", "Images"}) {
    for (std::string& note :
         LinkFirstFound(working_dir, folder, product.picture_dirs)) {
      notes.push_back(std::move(note));
    }
  }
  return notes;
}

}  // namespace vigil::cli
