#include "extension/smtp_arguments.h"

#include <cstring>
#include <iterator>
#include <utility>

namespace vigil {
namespace {

bool IsBlankChar(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::vector<std::string_view> SplitOn(std::string_view text,
                                      bool (*is_separator)(char)) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start < text.size()) {
    while (start < text.size() && is_separator(text[start])) ++start;
    size_t end = start;
    while (end < text.size() && !is_separator(text[end])) ++end;
    if (end > start) parts.push_back(text.substr(start, end - start));
    start = end;
  }
  return parts;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlnum(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::optional<int> ParsePort(std::string_view text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  int port = 0;
  for (char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    port = port * 10 + (c - '0');
  }
  if (port < 1 || port > 65535) return std::nullopt;
  return port;
}

// Names and IPv4 addresses; anything else could change the meaning of the
// smtp:// URL built from it.
bool IsHostName(std::string_view text) {
  if (text.empty() || text.size() > 253) return false;
  for (char c : text) {
    if (!IsAlnum(c) && c != '.' && c != '-' && c != '_') return false;
  }
  return text.front() != '.' && text.front() != '-';
}

bool IsIpv6Literal(std::string_view text) {
  if (text.size() < 2 || text.find(':') == std::string_view::npos) {
    return false;
  }
  for (char c : text) {
    bool hex = IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    if (!hex && c != ':' && c != '.') return false;
  }
  return true;
}

// Host with an optional ":port" that overrides `port`. An empty override
// ("host:") keeps the given port.
std::optional<SmtpEndpoint> SplitHost(std::string_view text, int port) {
  std::string_view host = text;
  std::string_view port_text;
  if (!text.empty() && text.front() == '[') {
    size_t close = text.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    host = text.substr(1, close - 1);
    std::string_view rest = text.substr(close + 1);
    if (!rest.empty()) {
      if (rest.front() != ':') return std::nullopt;
      port_text = rest.substr(1);
    }
    if (!IsIpv6Literal(host)) return std::nullopt;
  } else if (size_t colon = text.find(':'); colon != std::string_view::npos) {
    if (text.find(':', colon + 1) != std::string_view::npos) {
      // Several colons: a bare IPv6 address, no port in it.
      if (!IsIpv6Literal(text)) return std::nullopt;
    } else {
      host = text.substr(0, colon);
      port_text = text.substr(colon + 1);
      if (!IsHostName(host)) return std::nullopt;
    }
  } else if (!IsHostName(host)) {
    return std::nullopt;
  }
  if (!port_text.empty()) {
    std::optional<int> override_port = ParsePort(port_text);
    if (!override_port) return std::nullopt;
    port = *override_port;
  }
  return SmtpEndpoint{std::string(host), port};
}

bool IsAddressSeparator(char c) { return IsBlankChar(c) || c == ','; }

bool IsLocalPartChar(char c) {
  if (IsAlnum(c)) return true;
  return c != '\0' && std::strchr("!#$%&'*+-/=?^_`{|}~.", c) != nullptr;
}

}  // namespace

std::optional<SmtpEndpoint> ParseSmtpServer(std::string_view text) {
  std::vector<std::string_view> parts = SplitOn(text, IsBlankChar);
  if (parts.empty() || parts.size() > 2) return std::nullopt;
  if (parts.size() == 1) {
    // One word: a lone number is a port that names no host; anything else
    // is a host whose port was left blank.
    bool all_digits = true;
    for (char c : parts[0]) all_digits = all_digits && IsDigit(c);
    if (all_digits) return std::nullopt;
    return SplitHost(parts[0], kDefaultSmtpPort);
  }
  std::optional<int> port = ParsePort(parts[0]);
  if (!port) return std::nullopt;
  return SplitHost(parts[1], *port);
}

bool IsPlainMailAddress(std::string_view text) {
  size_t at = text.rfind('@');
  if (at == std::string_view::npos || at == 0 || at + 1 == text.size() ||
      text.size() > 254) {
    return false;
  }
  std::string_view local = text.substr(0, at);
  std::string_view domain = text.substr(at + 1);
  for (char c : local) {
    if (!IsLocalPartChar(c)) return false;
  }
  if (local.front() == '.' || local.back() == '.') return false;
  if (domain.front() == '[') {
    return domain.back() == ']' &&
           (IsHostName(domain.substr(1, domain.size() - 2)) ||
            IsIpv6Literal(domain.substr(1, domain.size() - 2)));
  }
  return IsHostName(domain) && domain.find('_') == std::string_view::npos;
}

std::optional<MailAddresses> ParseMailAddresses(std::string_view text) {
  std::vector<std::string_view> parts = SplitOn(text, IsAddressSeparator);
  if (parts.size() < 2) return std::nullopt;
  std::vector<std::string> addresses;
  for (std::string_view part : parts) {
    if (part.size() >= 2 && part.front() == '<' && part.back() == '>') {
      part = part.substr(1, part.size() - 2);
    }
    if (!IsPlainMailAddress(part)) return std::nullopt;
    addresses.emplace_back(part);
  }
  MailAddresses result;
  result.sender = std::move(addresses.front());
  result.recipients.assign(std::make_move_iterator(addresses.begin() + 1),
                           std::make_move_iterator(addresses.end()));
  return result;
}

}  // namespace vigil
