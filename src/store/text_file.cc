#include "store/text_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <system_error>

#include "store/text.h"

namespace vigil {
namespace {

std::string JoinLines(const std::vector<std::string>& lines,
                      std::string_view eol) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += eol;
  }
  return text;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

}  // namespace

std::optional<std::string> ReadFileBytes(const std::filesystem::path& file) {
  std::error_code error;
  if (std::filesystem::is_directory(file, error)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return bytes.str();
}

std::optional<std::vector<std::string>> ReadLines(
    const std::filesystem::path& file) {
  const auto bytes = ReadFileBytes(file);
  if (!bytes) return std::nullopt;
  return SplitLines(*bytes);
}

bool WriteLines(const std::filesystem::path& file,
                const std::vector<std::string>& lines, std::string_view eol) {
  const int fd =
      ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, JoinLines(lines, eol));
  return ::close(fd) == 0 && written;
}

bool WriteLinesAtomically(const std::filesystem::path& file,
                          const std::vector<std::string>& lines,
                          std::string_view eol) {
  std::filesystem::path temporary = file;
  temporary += ".tmp" + std::to_string(::getpid());
  const int fd =
      ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool written = WriteAll(fd, JoinLines(lines, eol)) && ::fsync(fd) == 0;
  written = ::close(fd) == 0 && written;
  if (written && ::rename(temporary.c_str(), file.c_str()) == 0) return true;
  ::unlink(temporary.c_str());
  return false;
}

CreateResult CreateExclusively(const std::filesystem::path& file) {
  int fd;
  do {
    fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    return errno == EEXIST ? CreateResult::kExists : CreateResult::kFailed;
  }
  if (::close(fd) != 0) {
    ::unlink(file.c_str());
    return CreateResult::kFailed;
  }
  return CreateResult::kCreated;
}

bool FileExists(const std::filesystem::path& file) {
  std::error_code ignored;
  return std::filesystem::exists(file, ignored);
}

}  // namespace vigil
