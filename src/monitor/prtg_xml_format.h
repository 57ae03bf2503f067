// PRTG's standard sensor XML, read with expat: element names in any case,
// any layout, entities, CDATA and comments, UTF-8 or Windows-1252.
#ifndef VIGIL_MONITOR_PRTG_XML_FORMAT_H_
#define VIGIL_MONITOR_PRTG_XML_FORMAT_H_

#include <string_view>

#include "monitor/result_format.h"
#include "monitor/standard_result.h"

namespace vigil {

StandardResult ParsePrtgXml(std::string_view text);

const ResultFormat& PrtgXmlFormat();

}  // namespace vigil

#endif  // VIGIL_MONITOR_PRTG_XML_FORMAT_H_
