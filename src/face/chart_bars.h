// The four chart-bar item indexes of columns 41-48; the first is also the
// kept item that the gauge shows.
#ifndef VIGIL_FACE_CHART_BARS_H_
#define VIGIL_FACE_CHART_BARS_H_

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "store/config_record.h"

namespace vigil {

inline constexpr std::string_view kNoBar = "xx";

// Columns 41-42, 43-44, 45-46 and 47-48 as written.
std::array<std::string, 4> ChartBarFields(const ConfigRecord& record);

// The row index of a field; nullopt for "xx" and for anything that is not
// a number, so that a hand-edited field never names a row by accident.
std::optional<size_t> BarIndex(std::string_view field);

// Columns 43-48 read "xxxxxx": no bar list, the kept item at most.
bool HasBarList(const ConfigRecord& record);

// Max bars of columns 26-27; 0 (no limit) when "00" or not a number.
int MaxBars(const ConfigRecord& record);

}  // namespace vigil

#endif  // VIGIL_FACE_CHART_BARS_H_
