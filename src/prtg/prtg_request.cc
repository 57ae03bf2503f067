#include "prtg/prtg_request.h"

#include "prtg/prtg_profile.h"
#include "store/text.h"

namespace vigil {
namespace {

constexpr std::string_view kIdKey = "id=";

// Applies the profile's connection lines to an address, in file order. An
// API key, wherever its line stands, replaces the user and the password.
void ApplyProfile(const std::vector<std::string>& profile_lines,
                  std::string& front, std::string& back) {
  std::string login;
  std::string api_token;
  for (const std::string& line : profile_lines) {
    if (HasKey(line, kHostKey)) {
      front = ProfileValue(line) + front;
    } else if (line.substr(0, kHttpSchemeLine.size()) == kHttpSchemeLine) {
      front = "http://" + front;
    } else if (line.substr(0, kHttpsSchemeLine.size()) == kHttpsSchemeLine) {
      front = "https://" + front;
    } else if (HasKey(line, kUserKey)) {
      login += "&username=" + QueryEncode(ProfileValue(line));
    } else if (HasKey(line, kPasswordKey)) {
      login += "&password=" + QueryEncode(Unscramble(ProfileValue(line)));
    } else if (HasKey(line, kApiTokenKey)) {
      api_token = WholeProfileValue(line);
    }
  }
  back += api_token.empty() ? login : "&apitoken=" + QueryEncode(api_token);
}

bool IsUnreserved(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
         (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
}

}  // namespace

std::string QueryEncode(std::string_view value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (const char c : value) {
    if (IsUnreserved(c)) {
      encoded += c;
    } else {
      const auto byte = static_cast<unsigned char>(c);
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 0x0F];
    }
  }
  return encoded;
}

RequestUrl BuildRequestUrl(const ConfigRecord& record,
                           const std::vector<std::string>& profile_lines) {
  std::string address = record.tail().address;
  if (Mid(address, 1, int(kSensorPagePrefix.size())) == kSensorPagePrefix) {
    address = std::string(kChannelsPathPrefix) +
              Mid(address, int(kSensorPagePrefix.size()) + 1);
  }
  RequestUrl request;
  const int id_at = Pos(kIdKey, address);
  request.has_ids = id_at > 0;
  if (request.has_ids) {
    const int ids_from = id_at + int(kIdKey.size());
    std::string id_list = Mid(address, ids_from);
    request.multi_sensor = id_list.find('#') != std::string::npos;
    id_list += '#';
    size_t start = 0;
    for (size_t end = id_list.find('#'); end != std::string::npos;
         start = end + 1, end = id_list.find('#', start)) {
      // An empty id (a doubled or trailing "#") names no sensor.
      if (end > start)
        request.ids.push_back(id_list.substr(start, end - start));
    }
    address = Mid(address, 1, ids_from - 1);
  }
  request.prefix = address;
  ApplyProfile(profile_lines, request.prefix, request.credentials);
  return request;
}

std::string ChannelsUrl(const RequestUrl& request, std::string_view id) {
  return ShownUrl(request, id) + request.credentials;
}

std::string ShownUrl(const RequestUrl& request, std::string_view id) {
  return request.prefix + std::string(id);
}

std::string DetailsUrl(const RequestUrl& request, std::string_view id) {
  const int api_at = Pos("/api/", request.prefix);
  const std::string server =
      api_at > 0 ? Mid(request.prefix, 1, api_at - 1) : std::string();
  return server + std::string(kDetailsPath) + std::string(kIdKey) +
         std::string(id) + request.credentials;
}

std::string BrowserUrl(const ConfigRecord& record,
                       const std::vector<std::string>& profile_lines) {
  std::string address = record.tail().address;
  const size_t hash = address.find('#');
  if (hash != std::string::npos) address.resize(hash);
  std::string credentials;
  ApplyProfile(profile_lines, address, credentials);
  return address + credentials;
}

}  // namespace vigil
