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

namespace {

// The text of a CDATA section in the line; nullopt without a whole one.
std::optional<std::string> CdataText(std::string_view line) {
  const size_t open = line.find("CDATA[");
  if (open == std::string_view::npos) return std::nullopt;
  const size_t from = open + 6;
  const size_t close = line.find("]]", from);
  if (close == std::string_view::npos) return std::nullopt;
  return std::string(line.substr(from, close - from));
}

}  // namespace

std::string ReadIdentifier(const std::vector<std::string>& lines,
                           std::string_view element, std::string identifier) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string line = Trim(lines[i]);
    if (line.substr(0, element.size()) != element) continue;
    // The value on the element's own line, or on the line after it.
    std::optional<std::string> value = CdataText(line);
    if (!value && i + 1 < lines.size()) value = CdataText(lines[i + 1]);
    if (value) identifier = *value;
  }
  return identifier;
}

}  // namespace vigil
