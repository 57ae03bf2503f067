// The mode's extension library (Dllx): loaded for one mail, opened through
// its "Dopen" entry, closed through "Dclos" and unloaded again.
#ifndef VIGIL_ACTIONS_EXTENSION_BINDING_H_
#define VIGIL_ACTIONS_EXTENSION_BINDING_H_

#include <filesystem>
#include <string>

namespace vigil {

// The "Smtp" entry: server, addresses, account, password, body file; null
// when the mail could not be sent.
using SmtpEntry = const char* (*)(const char*, const char*, const char*,
                                  const char*, const char*);

class ExtensionBinding final {
 public:
  // Loads the library; loaded() tells whether that worked.
  explicit ExtensionBinding(const std::filesystem::path& library);
  ~ExtensionBinding();
  ExtensionBinding(const ExtensionBinding&) = delete;
  ExtensionBinding& operator=(const ExtensionBinding&) = delete;

  bool loaded() const { return handle_ != nullptr; }
  // The library open flag: set while "Dopen" has been answered.

  // Calls "Dopen" with "Loading" and the library's file name; a missing
  // entry or a failed call leaves the library not open, without a message.
  void Open();
  // Calls "Dclos" with "Unloading" and the file name when the library is
  // open; the flag clears when the call returns a text.
  void Close();

  // Null when the library or its "Smtp" entry is missing.
  SmtpEntry Smtp() const;

 private:
  void* Entry(const char* name) const;

  std::string file_name_;
  void* handle_ = nullptr;
  bool open_ = false;
};

}  // namespace vigil

#endif  // VIGIL_ACTIONS_EXTENSION_BINDING_H_
