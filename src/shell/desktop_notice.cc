#include "shell/desktop_notice.h"

#include "store/orb_values.h"
#include "shell/grid_placement.h"

namespace vigil {

std::optional<DesktopNotice> DesktopNoticeFor(const NoticeInputs& inputs) {
  if (!inputs.state_changed) return std::nullopt;
  const bool red = inputs.state_code == state_code::kRed;
  if (!red && inputs.state_code != state_code::kNoData) return std::nullopt;
  const std::string orb = std::string(inputs.title) + " (" +
                          std::string(inputs.mode_word) + " " +
                          RowSlashColumn(std::string(inputs.number)) + ")";
  if (red) return DesktopNotice{orb + " is red", "Alert", true};
  return DesktopNotice{orb + " has no data", std::string(inputs.detail), false};
}

}  // namespace vigil
