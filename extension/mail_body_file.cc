#include "extension/mail_body_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <iterator>
#include <string_view>
#include <utility>

namespace vigil {
namespace {

std::optional<std::string> ReadWholeFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string content;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  char buffer[65536];
  while (true) {
    ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0 || content.size() + count > kMaxMailBodyBytes) {
      ::close(fd);
      return std::nullopt;
    }
    if (count == 0) break;
    content.append(buffer, static_cast<std::size_t>(count));
  }
  ::close(fd);
  return content;
}

}  // namespace

std::optional<MailBody> ReadMailBody(const std::string& path) {
  if (path.empty()) return std::nullopt;
  std::optional<std::string> content = ReadWholeFile(path);
  if (!content) return std::nullopt;

  std::vector<std::string> lines;
  std::string_view rest = *content;
  while (!rest.empty()) {
    size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }

  MailBody body;
  if (!lines.empty()) {
    body.subject = std::move(lines.front());
    body.lines.assign(std::make_move_iterator(lines.begin() + 1),
                      std::make_move_iterator(lines.end()));
  }
  return body;
}

}  // namespace vigil
