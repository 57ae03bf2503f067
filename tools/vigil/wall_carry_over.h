// The carried-over value a crashed orb is restarted with: its kept value,
// which after a good cycle is the kept item's value in the work file the
// orb leaves behind.
#ifndef VIGIL_TOOLS_VIGIL_WALL_CARRY_OVER_H_
#define VIGIL_TOOLS_VIGIL_WALL_CARRY_OVER_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/config_record.h"

namespace vigil::cli {

struct CarryOver {
  std::optional<double> value;
  std::string reason;  // why there is none, for the operator
};

// work_file: its lines, nullopt when the orb left none. The rows are read
// and sorted as the orb's first cycle after the restart will, so that the
// value is the one its kept item shows then.
CarryOver RecoverCarryOver(
    const std::optional<std::vector<std::string>>& work_file,
    std::string_view mode_word, const ConfigRecord& record);

// The third command-line word: a plain number the orb reads back exactly.
std::string CarryOverText(double value);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_WALL_CARRY_OVER_H_
