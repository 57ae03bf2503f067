#include "actions/extension_binding.h"

#include <dlfcn.h>

namespace vigil {
namespace {

using TextEntry = const char* (*)(const char*, const char*);

}  // namespace

ExtensionBinding::ExtensionBinding(const std::filesystem::path& library)
    : file_name_(library.filename().string()),
      handle_(dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL)) {}

ExtensionBinding::~ExtensionBinding() {
  if (handle_ != nullptr) dlclose(handle_);
}

void* ExtensionBinding::Entry(const char* name) const {
  return handle_ == nullptr ? nullptr : dlsym(handle_, name);
}

void ExtensionBinding::Open() {
  if (open_) return;
  const auto dopen = reinterpret_cast<TextEntry>(Entry("Dopen"));
  if (dopen != nullptr && dopen("Loading", file_name_.c_str()) != nullptr) {
    open_ = true;
  }
}

void ExtensionBinding::Close() {
  if (!open_) return;
  const auto dclos = reinterpret_cast<TextEntry>(Entry("Dclos"));
  if (dclos != nullptr && dclos("Unloading", file_name_.c_str()) != nullptr) {
    open_ = false;
  }
}

SmtpEntry ExtensionBinding::Smtp() const {
  return reinterpret_cast<SmtpEntry>(Entry("Smtp"));
}

}  // namespace vigil
