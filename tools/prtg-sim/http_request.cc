#include "prtg-sim/http_request.h"

#include "common/tool_text.h"

namespace vigil::sim {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string_view ReasonPhrase(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 400:
      return "Bad Request";
    case 401:
      return "Unauthorized";
    case 404:
      return "Not Found";
    case 405:
      return "Method Not Allowed";
    case 431:
      return "Request Header Fields Too Large";
    case 500:
      return "Internal Server Error";
    default:
      return "Unknown";
  }
}

}  // namespace

std::optional<size_t> HeadLength(std::string_view received) {
  for (size_t i = 0; i < received.size(); ++i) {
    if (received[i] != '\n') continue;
    if (i + 1 < received.size() && received[i + 1] == '\n') return i + 2;
    if (i + 2 < received.size() && received[i + 1] == '\r' &&
        received[i + 2] == '\n') {
      return i + 3;
    }
  }
  return std::nullopt;
}

std::string UrlDecode(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      decoded += ' ';
    } else if (text[i] == '%' && i + 2 < text.size() &&
               HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
      decoded +=
          static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

std::map<std::string, std::string> ParseQuery(std::string_view query) {
  std::map<std::string, std::string> fields;
  size_t start = 0;
  while (start <= query.size()) {
    size_t end = query.find('&', start);
    if (end == std::string_view::npos) end = query.size();
    const std::string_view pair = query.substr(start, end - start);
    if (!pair.empty()) {
      const size_t equals = pair.find('=');
      const std::string key = UrlDecode(pair.substr(0, equals));
      const std::string value = equals == std::string_view::npos
                                    ? ""
                                    : UrlDecode(pair.substr(equals + 1));
      fields.emplace(key, value);
    }
    start = end + 1;
  }
  return fields;
}

std::optional<HttpRequest> ParseRequestHead(std::string_view head) {
  const size_t line_end = head.find('\n');
  const std::string line = tools::Trim(head.substr(0, line_end));
  const std::vector<std::string> words = tools::SplitWords(line);
  if (words.size() != 3 || words[2].rfind("HTTP/", 0) != 0) return std::nullopt;
  for (char c : words[0]) {
    if (c < 'A' || c > 'Z') return std::nullopt;
  }
  HttpRequest request;
  request.method = words[0];
  request.target = words[1];
  // An absolute target ("http://host/path") is allowed by HTTP/1.1.
  std::string_view target = request.target;
  if (const size_t scheme = target.find("://");
      scheme != std::string_view::npos && target.find('?') > scheme) {
    const size_t path_start = target.find('/', scheme + 3);
    target =
        path_start == std::string_view::npos ? "/" : target.substr(path_start);
  }
  if (target.empty() || target[0] != '/') return std::nullopt;
  const size_t question = target.find('?');
  request.path = UrlDecode(target.substr(0, question));
  if (question != std::string_view::npos) {
    request.query = ParseQuery(target.substr(question + 1));
  }
  return request;
}

std::string MaskSecrets(std::string_view target) {
  std::string masked(target);
  for (const std::string_view key : {"password=", "passhash=", "apitoken="}) {
    size_t at = 0;
    while ((at = masked.find(key, at)) != std::string::npos) {
      const bool starts_field =
          at == 0 || masked[at - 1] == '?' || masked[at - 1] == '&';
      const size_t value = at + key.size();
      if (!starts_field) {
        at = value;
        continue;
      }
      size_t end = masked.find('&', value);
      if (end == std::string::npos) end = masked.size();
      masked.replace(value, end - value, "***");
      at = value + 3;
    }
  }
  return masked;
}

std::string ResponseHead(int status, std::string_view content_type,
                         long long content_length) {
  std::string head = "HTTP/1.1 " + std::to_string(status) + " ";
  head += ReasonPhrase(status);
  head += "\r\nServer: prtg-sim\r\n";
  if (!content_type.empty()) {
    head += "Content-Type: ";
    head += content_type;
    head += "\r\n";
  }
  if (content_length >= 0) {
    head += "Content-Length: " + std::to_string(content_length) + "\r\n";
  }
  head += "Cache-Control: no-cache\r\nConnection: close\r\n\r\n";
  return head;
}

}  // namespace vigil::sim
