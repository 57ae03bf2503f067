#include "store/file_remover.h"

#include <system_error>

namespace vigil {

void RemoveFile(const std::filesystem::path& file) {
  std::error_code ignored;
  std::filesystem::remove(file, ignored);
}

}  // namespace vigil
