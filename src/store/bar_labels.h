// The four bar label slots: a two-digit item number followed by a name.
#ifndef VIGIL_STORE_BAR_LABELS_H_
#define VIGIL_STORE_BAR_LABELS_H_

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vigil {

using BarLabelSlots = std::array<std::string, 4>;

// The name stored under the number (the last matching slot wins).
std::optional<std::string> LookUpBarLabel(const BarLabelSlots& slots,
                                          std::string_view number);

}  // namespace vigil

#endif  // VIGIL_STORE_BAR_LABELS_H_
