// The connection lines of an HttpOrb orb's attached profile. Each line has
// a fixed 20-character key and its value from column 21.
#ifndef VIGIL_PRTG_PRTG_PROFILE_H_
#define VIGIL_PRTG_PRTG_PROFILE_H_

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "prtg/downloader.h"
#include "store/text.h"  // Unscramble

namespace vigil {

inline constexpr std::string_view kHostKey = "* Host/IP.........: ";
inline constexpr std::string_view kUserKey = "* User-ID.........: ";
inline constexpr std::string_view kPasswordKey = "* Password........: ";
inline constexpr std::string_view kPrtgPortKey = "* PRTG-Port.......: ";
inline constexpr std::string_view kProxyHostKey = "* Proxy-Host......: ";
inline constexpr std::string_view kProxyPortKey = "* Proxy-Port......: ";
inline constexpr std::string_view kProxyUserKey = "* Proxy-User......: ";
inline constexpr std::string_view kProxyPasswordKey = "* Proxy-Pwd.......: ";
// HTTPS trust and the API key; profiles written before them lack the lines.
inline constexpr std::string_view kCaFileKey = "* CA-File.........: ";
inline constexpr std::string_view kPinnedKeyKey = "* Pinned-Key......: ";
// Stored plainly, not scrambled: PRTG keys are upper-case letters and
// digits, and the XOR with 0x5A turns "P", "W" and "Z" into LF, CR and NUL.
inline constexpr std::string_view kApiTokenKey = "* API-Token.......: ";
// Whole lines, compared on their first 24 or 25 characters.
inline constexpr std::string_view kHttpSchemeLine = "* Setting Parm01..: True";
inline constexpr std::string_view kHttpsSchemeLine =
    "* Setting Parm01..: False";

// True when the line begins with the key.
bool HasKey(std::string_view line, std::string_view key);

// The value of a profile line: from column 21, at most 99 characters.
std::string ProfileValue(std::string_view line);

// The value of a trust or API-Token line: from column 21, whole and
// trimmed, since two pins, a path or a key may be longer than 99 characters
// and a cut one would fail without saying why.
std::string WholeProfileValue(std::string_view line);

// What the profile says about the HTTP connection. The requests use only
// the trust lines; the others are read so that a wrong line is reported.
struct ConnectionSettings {
  std::string host;
  std::optional<int> port;
  std::string proxy_host;
  std::optional<int> proxy_port;
  std::string proxy_user;
  std::string proxy_password;  // unscrambled
  // As written: a relative path is meant from the orb's working directory.
  std::string ca_file;
  std::string pinned_key;  // "sha256//..." hashes, or a key file
  // One message per port line that holds no port number. A message names
  // the line and its value, never a user name or a password.
  std::vector<std::string> problems;
};

// The last line of each key counts; an empty port value means no port.
ConnectionSettings ReadConnectionSettings(
    const std::vector<std::string>& profile_lines);

// The download settings with the profile's trust lines; a relative CA or
// key file is taken from the working directory. The host name is verified
// either way; a pin without a CA file stands in for the certificate chain.
DownloadSettings WithTrust(DownloadSettings settings,
                           const ConnectionSettings& connection,
                           const std::filesystem::path& working_dir);

}  // namespace vigil

#endif  // VIGIL_PRTG_PRTG_PROFILE_H_
