#include "prtg/details_reader.h"

#include "store/text.h"

namespace vigil {

std::optional<std::string_view> IdentifierElement(char kind) {
  switch (kind) {
    case '1':
      return "<probename>";
    case '2':
      return "<parentgroupname>";
    case '3':
      return "<parentdevicename>";
    case '4':
      return "<name>";
    default:
      return std::nullopt;
  }
}

std::string ReadIdentifier(const std::vector<std::string>& lines,
                           std::string_view element, std::string identifier) {
  for (size_t i = 0; i + 1 < lines.size(); ++i) {
    if (Trim(lines[i]).substr(0, element.size()) != element) continue;
    const std::string& next = lines[i + 1];
    const size_t open = next.find("CDATA[");
    if (open == std::string::npos) continue;
    const size_t from = open + 6;
    const size_t close = next.find("]]", from);
    if (close == std::string::npos) continue;
    identifier = next.substr(from, close - from);
  }
  return identifier;
}

}  // namespace vigil
