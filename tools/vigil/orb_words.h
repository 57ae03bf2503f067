// The words an operator uses for the one-character codes of a record and
// for the kinds of satellite line, in both directions.
#ifndef VIGIL_TOOLS_VIGIL_ORB_WORDS_H_
#define VIGIL_TOOLS_VIGIL_ORB_WORDS_H_

#include <optional>
#include <string>
#include <string_view>

namespace vigil::cli {

// Four digits, row then column: "0203".
bool IsOrbNumber(std::string_view word);

// Face mode "0" to "4": chart, unsorted, listing, gauge, image.
std::string FaceWord(char face_mode);
std::optional<char> FaceFromWord(std::string_view word);

// Chart kind 0-7 in the settings dialog's order: bars, bar-line, vertical,
// stack, area, lines, points, pie; the dialog's names are read too.
std::string ChartWord(int chart_type);
std::optional<int> ChartFromWord(std::string_view word);

// Sorting "0" to "6": none, items-asc, items-dsc, value-asc, value-dsc,
// colour-asc, colour-dsc; the dialog's names are read too.
std::string SortingWord(char sorting);
std::optional<char> SortingFromWord(std::string_view word);

// "on" / "off" (also yes/no, true/false, 1/0).
std::optional<bool> SwitchFromWord(std::string_view word);

// What a satellite marker's line holds: "rule", "state-mail settings" ...
std::string SatelliteWord(char marker);

}  // namespace vigil::cli

#endif  // VIGIL_TOOLS_VIGIL_ORB_WORDS_H_
