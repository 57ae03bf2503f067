// The mail-body file the orb writes for one mail: the subject on the first
// line, the body on the lines after it.
#ifndef VIGIL_EXTENSION_MAIL_BODY_FILE_H_
#define VIGIL_EXTENSION_MAIL_BODY_FILE_H_

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace vigil {

// Bigger files are refused rather than read into memory whole.
inline constexpr std::size_t kMaxMailBodyBytes = 16 * 1024 * 1024;

struct MailBody {
  std::string subject;             // raw bytes, without the line ending
  std::vector<std::string> lines;  // raw bytes, without line endings
};

// Lines end with LF or CR LF; a last line without an ending counts, an
// empty file gives an empty subject and no body. Empty when the file cannot
// be read or is larger than kMaxMailBodyBytes.
std::optional<MailBody> ReadMailBody(const std::string& path);

}  // namespace vigil

#endif  // VIGIL_EXTENSION_MAIL_BODY_FILE_H_
