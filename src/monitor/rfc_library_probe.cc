#include "monitor/rfc_library_probe.h"

#include <dlfcn.h>

#include <string>

namespace vigil {

bool ProbeRfcLibrary(const std::filesystem::path& working_dir) {
  const std::string local = (working_dir / kRfcLibraryName).string();
  void* handle = dlopen(local.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    handle =
        dlopen(std::string(kRfcLibraryName).c_str(), RTLD_NOW | RTLD_LOCAL);
  }
  if (handle == nullptr) return false;
  dlclose(handle);
  return true;
}

}  // namespace vigil
