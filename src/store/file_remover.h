#ifndef VIGIL_STORE_FILE_REMOVER_H_
#define VIGIL_STORE_FILE_REMOVER_H_

#include <filesystem>

namespace vigil {

// Removes the file if it can; a failure is silent by design.
void RemoveFile(const std::filesystem::path& file);

}  // namespace vigil

#endif  // VIGIL_STORE_FILE_REMOVER_H_
