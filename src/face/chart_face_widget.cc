#include "face/chart_face_widget.h"

#include <dlfcn.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace vigil {
namespace {

constexpr char kChartLibrary[] = "libvigil-chart.so";

// Installed beside the extension libraries; in the build tree in lib/.
std::vector<std::filesystem::path> ChartLibraryPlaces() {
  std::error_code error;
  const std::filesystem::path bin =
      std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
  if (error) return {};
  return {bin / ".." / "lib" / "vigil-panel" / kChartLibrary,
          bin / ".." / "lib" / kChartLibrary};
}

std::string LoaderError() {
  const char* error = dlerror();
  return error != nullptr ? error : "not loaded";
}

NewChartFaceFunction LoadChartLibrary() {
  std::string why = "no ";
  why += kChartLibrary;
  for (const std::filesystem::path& place : ChartLibraryPlaces()) {
    if (!std::filesystem::exists(place)) continue;
    void* library = dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
      why = LoaderError();
      break;
    }
    if (void* entry = dlsym(library, kNewChartFaceSymbol)) {
      return reinterpret_cast<NewChartFaceFunction>(entry);
    }
    why = LoaderError();
    break;
  }
  std::fprintf(stderr, "Charts not available: %s\n", why.c_str());
  return nullptr;
}

}  // namespace

ChartFace* NewChartFace(int kind, QWidget* parent) {
  static const NewChartFaceFunction new_chart_face = LoadChartLibrary();
  return new_chart_face != nullptr ? new_chart_face(kind, parent) : nullptr;
}

}  // namespace vigil
