// The little of HTTP/1.1 the simulator needs: the request head, the query
// string and the answer's status line and headers.
#ifndef VIGIL_TOOLS_PRTG_SIM_HTTP_REQUEST_H_
#define VIGIL_TOOLS_PRTG_SIM_HTTP_REQUEST_H_

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace vigil::sim {

inline constexpr size_t kMaxHeadBytes = 16 * 1024;

struct HttpRequest {
  std::string method;
  std::string target;                        // as sent, path and query
  std::string path;                          // decoded
  std::map<std::string, std::string> query;  // decoded; the first of a key wins
};

// Length of the head including its blank line, or nullopt while the blank
// line has not arrived. LF alone is accepted as the line end.
std::optional<size_t> HeadLength(std::string_view received);

// nullopt for a head whose request line is not "METHOD TARGET HTTP/x.y".
std::optional<HttpRequest> ParseRequestHead(std::string_view head);

// "%41" and "+" decoded; a broken escape stays as written.
std::string UrlDecode(std::string_view text);

std::map<std::string, std::string> ParseQuery(std::string_view query);

// The target with the values of password, passhash and apitoken replaced
// by "***", for the request log.
std::string MaskSecrets(std::string_view target);

// Status line and headers, ending in the blank line. A content_length
// below 0 leaves the length out; the connection always closes.
std::string ResponseHead(int status, std::string_view content_type,
                         long long content_length);

}  // namespace vigil::sim

#endif  // VIGIL_TOOLS_PRTG_SIM_HTTP_REQUEST_H_
