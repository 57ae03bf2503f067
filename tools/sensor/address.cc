#include "sensor/address.h"

#include <charconv>

#include "common/tool_text.h"

namespace vigil::sensor {

std::optional<HostPort> ParseAddress(std::string_view address) {
  const std::string text = tools::Trim(address);
  std::string host;
  std::string_view port_text;
  if (!text.empty() && text[0] == '[') {
    const size_t close = text.find(']');
    if (close == std::string::npos || close + 1 >= text.size() ||
        text[close + 1] != ':') {
      return std::nullopt;
    }
    host = text.substr(1, close - 1);
    port_text = std::string_view(text).substr(close + 2);
  } else {
    const size_t colon = text.find(':');
    if (colon == std::string::npos ||
        text.find(':', colon + 1) != std::string::npos) {
      return std::nullopt;
    }
    host = text.substr(0, colon);
    port_text = std::string_view(text).substr(colon + 1);
  }
  if (host.empty() || port_text.empty()) return std::nullopt;
  int port = 0;
  const char* end = port_text.data() + port_text.size();
  const auto [ptr, ec] = std::from_chars(port_text.data(), end, port);
  if (ec != std::errc() || ptr != end || port < 1 || port > 65535) {
    return std::nullopt;
  }
  return HostPort{host, port};
}

}  // namespace vigil::sensor
