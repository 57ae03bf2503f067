#include "prtg/prtg_profile.h"

#include "store/text.h"

namespace vigil {
namespace {

constexpr int kValueColumn = 21;
static_assert(kCaFileKey.size() == kValueColumn - 1 &&
              kPinnedKeyKey.size() == kValueColumn - 1 &&
              kApiTokenKey.size() == kValueColumn - 1);
constexpr int kValueLength = 99;
constexpr int kHighestPort = 65535;
// What libcurl takes as a list of key hashes rather than a key file.
constexpr std::string_view kPinnedHashPrefix = "sha256//";
// Enough of a wrong value to recognise it, not a whole pasted text.
constexpr int kShownValueLength = 20;

// A port line's value: nullopt and a message when it is not a port number.
std::optional<int> ReadPort(std::string_view line, std::string_view name,
                            std::vector<std::string>& problems) {
  const std::string value = ProfileValue(line);
  if (IsBlank(value)) return std::nullopt;
  const std::string shown =
      "\"" + Mid(Trim(value), 1, kShownValueLength) + "\"";
  const std::optional<int> port = ParseInteger(value);
  if (!port) {
    problems.push_back(std::string(name) + " " + shown +
                       " is not a whole number, please Check !");
    return std::nullopt;
  }
  if (*port < 1 || *port > kHighestPort) {
    problems.push_back(std::string(name) + " " + shown +
                       " is not a port number (1 to 65535), please Check !");
    return std::nullopt;
  }
  return port;
}

}  // namespace

bool HasKey(std::string_view line, std::string_view key) {
  return line.substr(0, key.size()) == key;
}

std::string ProfileValue(std::string_view line) {
  return Mid(line, kValueColumn, kValueLength);
}

std::string WholeProfileValue(std::string_view line) {
  return Trim(Mid(line, kValueColumn));
}

ConnectionSettings ReadConnectionSettings(
    const std::vector<std::string>& profile_lines) {
  ConnectionSettings settings;
  for (const std::string& line : profile_lines) {
    if (HasKey(line, kHostKey)) {
      settings.host = ProfileValue(line);
    } else if (HasKey(line, kPrtgPortKey)) {
      settings.port = ReadPort(line, "PRTG-Port", settings.problems);
    } else if (HasKey(line, kProxyHostKey)) {
      settings.proxy_host = ProfileValue(line);
    } else if (HasKey(line, kProxyPortKey)) {
      settings.proxy_port = ReadPort(line, "Proxy-Port", settings.problems);
    } else if (HasKey(line, kProxyUserKey)) {
      settings.proxy_user = ProfileValue(line);
    } else if (HasKey(line, kProxyPasswordKey)) {
      settings.proxy_password = Unscramble(ProfileValue(line));
    } else if (HasKey(line, kCaFileKey)) {
      settings.ca_file = WholeProfileValue(line);
    } else if (HasKey(line, kPinnedKeyKey)) {
      settings.pinned_key = WholeProfileValue(line);
    }
  }
  return settings;
}

DownloadSettings WithTrust(DownloadSettings settings,
                           const ConnectionSettings& connection,
                           const std::filesystem::path& working_dir) {
  if (!connection.ca_file.empty()) {
    settings.ca_file = working_dir / connection.ca_file;
  }
  if (connection.pinned_key.starts_with(kPinnedHashPrefix)) {
    settings.pinned_key = connection.pinned_key;
  } else if (!connection.pinned_key.empty()) {
    settings.pinned_key = (working_dir / connection.pinned_key).string();
  }
  return settings;
}

}  // namespace vigil
