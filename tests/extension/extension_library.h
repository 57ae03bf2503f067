// Loads a built extension library the way an orb does: dlopen by path and
// look up the entry points by name.
#ifndef VIGIL_TESTS_EXTENSION_EXTENSION_LIBRARY_H_
#define VIGIL_TESTS_EXTENSION_EXTENSION_LIBRARY_H_

#include <string>

#include "../../extension/vigil_extension.h"

namespace vigil {

class ExtensionLibrary {
 public:
  using OpenFunction = decltype(&::Dopen);
  using CloseFunction = decltype(&::Dclos);
  using SmtpFunction = decltype(&::Smtp);

  ExtensionLibrary() = default;
  ~ExtensionLibrary();
  ExtensionLibrary(const ExtensionLibrary&) = delete;
  ExtensionLibrary& operator=(const ExtensionLibrary&) = delete;

  // Binds all symbols at once (RTLD_NOW), so an unresolved symbol fails
  // here. False with error() set when the file does not load.
  bool Load(const std::string& path);
  void Unload();

  const std::string& error() const { return error_; }
  OpenFunction dopen() const { return dopen_; }
  CloseFunction dclos() const { return dclos_; }
  SmtpFunction smtp() const { return smtp_; }

 private:
  void* handle_ = nullptr;
  OpenFunction dopen_ = nullptr;
  CloseFunction dclos_ = nullptr;
  SmtpFunction smtp_ = nullptr;
  std::string error_;
};

// VIGIL_LIB_DIR + "/" + file_name.
std::string BuiltLibraryPath(const std::string& file_name);

}  // namespace vigil

#endif  // VIGIL_TESTS_EXTENSION_EXTENSION_LIBRARY_H_
