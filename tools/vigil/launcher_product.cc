#include "vigil/launcher_product.h"

#include <optional>
#include <system_error>

#include "store/orb_names.h"

namespace vigil::cli {
namespace {

namespace fs = std::filesystem;

std::optional<fs::path> FindTarget(const std::string& name,
                                   const std::vector<fs::path>& dirs) {
  for (const fs::path& dir : dirs) {
    std::error_code error;
    if (!fs::exists(dir / name, error)) continue;
    const fs::path target = fs::weakly_canonical(dir / name, error);
    if (!error) return target;
  }
  return std::nullopt;
}

// A link vigil made that points nowhere now is vigil's to make anew; any
// other thing of that name, a dangling link too, is the operator's.
bool MayLink(const fs::path& link, const MadeLinks& made, ProductLinks& links) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(link, error);
  if (!fs::exists(status)) return true;
  if (!fs::is_symlink(status) || fs::exists(link, error)) return false;
  const fs::path target = fs::read_symlink(link, error);
  const std::string name = link.filename().string();
  const auto ours = made.find(name);
  if (ours != made.end() && ours->second == target) return true;
  links.problems.push_back(name + " links to " + target.string() +
                           ", which is not there; vigil leaves a link it "
                           "did not make (remove it, and vigil links its own)");
  return false;
}

void LinkFirstFound(const fs::path& working_dir, const std::string& name,
                    const std::vector<fs::path>& dirs, MadeLinks& made,
                    ProductLinks& links) {
  const fs::path link = working_dir / name;
  if (!MayLink(link, made, links)) return;
  std::error_code error;
  const bool renewed = fs::is_symlink(fs::symlink_status(link, error));
  const auto target = FindTarget(name, dirs);
  if (!target) {
    if (renewed) {
      links.problems.push_back(
          name + " links to " + fs::read_symlink(link, error).string() +
          ", which is not there, and vigil finds no " + name + " to link");
    }
    return;
  }
  if (renewed) fs::remove(link, error);
  fs::create_symlink(*target, link, error);
  if (error) {
    links.problems.push_back("could not link " + name + ": " + error.message());
    return;
  }
  made[name] = *target;
  links.notes.push_back((renewed ? "linked anew " : "linked ") + name + " -> " +
                        target->string());
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

ProductLinks LinkProductFiles(const std::filesystem::path& working_dir,
                              std::string_view mode_word,
                              const ProductLayout& product, MadeLinks& made) {
  ProductLinks links;
  LinkFirstFound(working_dir, ExtensionLibraryName(mode_word),
                 product.library_dirs, made, links);
  for (const char* folder : {"Gauges", "Images"}) {
    LinkFirstFound(working_dir, folder, product.picture_dirs, made, links);
  }
  return links;
}

}  // namespace vigil::cli
