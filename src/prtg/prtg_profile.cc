#include "prtg/prtg_profile.h"

#include "store/text.h"

namespace vigil {
namespace {

constexpr char kScrambleKey = 0x5A;
constexpr int kValueColumn = 21;
constexpr int kValueLength = 99;
constexpr int kHighestPort = 65535;
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

std::string Unscramble(std::string_view text) {
  std::string plain(text);
  for (char& c : plain) c = static_cast<char>(c ^ kScrambleKey);
  return plain;
}

bool HasKey(std::string_view line, std::string_view key) {
  return line.substr(0, key.size()) == key;
}

std::string ProfileValue(std::string_view line) {
  return Mid(line, kValueColumn, kValueLength);
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
    }
  }
  return settings;
}

}  // namespace vigil
