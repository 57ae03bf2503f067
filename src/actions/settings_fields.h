// Reading the action settings texts: ";"-terminated fields and the
// one-character marks at fixed columns.
#ifndef VIGIL_ACTIONS_SETTINGS_FIELDS_H_
#define VIGIL_ACTIONS_SETTINGS_FIELDS_H_

#include <string>
#include <string_view>

namespace vigil {

inline constexpr std::string_view kEnableMark = "X E";

// Field `index` (1-based) of a list of ";"-terminated fields. A field that
// no ";" follows, the last one included, reads as empty.
std::string TerminatedField(std::string_view text, int index);

// True when the text holds "X" at the 1-based column.
bool MarkedAt(std::string_view text, int column);

// True when the three columns from `column` hold the enable mark "X E".
bool EnabledAt(std::string_view text, int column);

// Cut or blank-padded to exactly `width` characters.
std::string FixedWidth(std::string_view text, size_t width);

}  // namespace vigil

#endif  // VIGIL_ACTIONS_SETTINGS_FIELDS_H_
