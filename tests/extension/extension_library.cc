#include "extension/extension_library.h"

#include <dlfcn.h>

namespace vigil {

ExtensionLibrary::~ExtensionLibrary() { Unload(); }

bool ExtensionLibrary::Load(const std::string& path) {
  Unload();
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* reason = dlerror();
    error_ = reason != nullptr ? reason : "dlopen failed";
    return false;
  }
  dopen_ = reinterpret_cast<OpenFunction>(dlsym(handle_, "Dopen"));
  dclos_ = reinterpret_cast<CloseFunction>(dlsym(handle_, "Dclos"));
  smtp_ = reinterpret_cast<SmtpFunction>(dlsym(handle_, "Smtp"));
  error_.clear();
  return true;
}

void ExtensionLibrary::Unload() {
  if (handle_ != nullptr) dlclose(handle_);
  handle_ = nullptr;
  dopen_ = nullptr;
  dclos_ = nullptr;
  smtp_ = nullptr;
}

std::string BuiltLibraryPath(const std::string& file_name) {
  return std::string(VIGIL_LIB_DIR) + "/" + file_name;
}

}  // namespace vigil
