#include "monitor/result_format.h"

#include <array>

#include "monitor/companion_result_format.h"
#include "monitor/prtg_json_format.h"
#include "monitor/prtg_xml_format.h"

namespace vigil {
namespace {

// Asked in this order: the companion's shape is narrow, so a standard
// XML text that is not in it falls to the XML reader. A new format is
// its file and one line here.
constexpr std::array<const ResultFormat& (*)(), 3> kResultFormats = {
    PrtgJsonFormat,
    CompanionResultFormat,
    PrtgXmlFormat,
};

}  // namespace

const ResultFormat& ResultFormatFor(const std::vector<std::string>& lines) {
  for (const auto format : kResultFormats) {
    if (format().Recognises(lines)) return format();
  }
  // Whatever else a sensor printed is checked as the orb always did.
  return CompanionResultFormat();
}

}  // namespace vigil
