// Named pieces of a configuration record and of a path.
#ifndef VIGIL_STORE_RECORD_FIELDS_H_
#define VIGIL_STORE_RECORD_FIELDS_H_

#include <optional>
#include <string>
#include <string_view>

#include "store/config_record.h"

namespace vigil {

// field: "Sensor", "Profile", "Pgrm" or "Path"; nullopt leaves the caller's
// result as it was (an unknown name, a path without a directory).
std::optional<std::string> RecordField(std::string_view field,
                                       const ConfigRecord& record,
                                       std::string_view path);

}  // namespace vigil

#endif  // VIGIL_STORE_RECORD_FIELDS_H_
