// A fresh directory for one test, removed with everything in it afterwards.
#ifndef VIGIL_TESTS_SUPPORT_TEMP_DIR_H_
#define VIGIL_TESTS_SUPPORT_TEMP_DIR_H_

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vigil::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const {
    return path_ / name;
  }

  // Writes bytes as they are; lines get CR LF.
  void Write(std::string_view name, std::string_view bytes) const;
  void WriteLines(std::string_view name,
                  const std::vector<std::string>& lines) const;
  std::string Read(std::string_view name) const;
  bool Exists(std::string_view name) const;

 private:
  std::filesystem::path path_;
};

}  // namespace vigil::testing

#endif  // VIGIL_TESTS_SUPPORT_TEMP_DIR_H_
