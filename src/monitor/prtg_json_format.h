// PRTG's standard sensor JSON, read with nlohmann-json: {"prtg": {"result":
// [...], "text": ..., "error": ...}}, keys in any case, values as numbers
// or as numeric strings.
#ifndef VIGIL_MONITOR_PRTG_JSON_FORMAT_H_
#define VIGIL_MONITOR_PRTG_JSON_FORMAT_H_

#include <string_view>

#include "monitor/result_format.h"
#include "monitor/standard_result.h"

namespace vigil {

StandardResult ParsePrtgJson(std::string_view text);

const ResultFormat& PrtgJsonFormat();

}  // namespace vigil

#endif  // VIGIL_MONITOR_PRTG_JSON_FORMAT_H_
