#include "store/bar_labels.h"

#include "store/text.h"

namespace vigil {

std::optional<std::string> LookUpBarLabel(const BarLabelSlots& slots,
                                          std::string_view number) {
  std::optional<std::string> label;
  for (const std::string& slot : slots) {
    if (Mid(slot, 1, 2) == number) label = Mid(slot, 3);
  }
  return label;
}

}  // namespace vigil
