#include "store/record_fields.h"

#include "store/text.h"

namespace vigil {

std::optional<std::string> RecordField(std::string_view field,
                                       const ConfigRecord& record,
                                       std::string_view path) {
  if (field == "Sensor") return record.display_name();
  if (field == "Profile") return record.tail().source;
  if (field == "Pgrm") {
    // A program name without its four-character extension (".Exe"); a
    // name without one, as programs here have, stays whole.
    const std::string program = record.tail().program;
    if (program.size() >= 4 && program[program.size() - 4] == '.') {
      return program.substr(0, program.size() - 4);
    }
    return program;
  }
  if (field == "Path") {
    const size_t last = path.find_last_of('/');
    if (last == std::string_view::npos) return std::nullopt;
    return std::string(path.substr(0, last));
  }
  return std::nullopt;
}

}  // namespace vigil
