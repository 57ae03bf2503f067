// Whole-file text reads and writes. Lines are read with LF or CR LF and
// written with CR LF.
#ifndef VIGIL_STORE_TEXT_FILE_H_
#define VIGIL_STORE_TEXT_FILE_H_

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vigil {

inline constexpr std::string_view kCrLf = "\r\n";

std::optional<std::string> ReadFileBytes(const std::filesystem::path& file);
std::optional<std::vector<std::string>> ReadLines(
    const std::filesystem::path& file);

// Writes every line followed by eol; an empty list makes an empty file.
bool WriteLines(const std::filesystem::path& file,
                const std::vector<std::string>& lines,
                std::string_view eol = kCrLf);

// Writes through a temporary file in the same directory and a rename, so
// that a reader or a crash sees the old file or the new one, whole.
bool WriteLinesAtomically(const std::filesystem::path& file,
                          const std::vector<std::string>& lines,
                          std::string_view eol = kCrLf);

bool FileExists(const std::filesystem::path& file);

// Creates an empty file with O_CREAT | O_EXCL: of two processes that try
// at the same moment exactly one gets kCreated. An existing file is not
// touched.
enum class CreateResult { kCreated, kExists, kFailed };
CreateResult CreateExclusively(const std::filesystem::path& file);

}  // namespace vigil

#endif  // VIGIL_STORE_TEXT_FILE_H_
