#include "store/grid_cover.h"

#include <map>

#include "store/orbs_file.h"
#include "store/text.h"

namespace vigil {
namespace {

bool Overlaps(const GridPlace& a, const GridPlace& b) {
  return a.row < b.row + b.size.rows && b.row < a.row + a.size.rows &&
         a.column < b.column + b.size.columns &&
         b.column < a.column + a.size.columns;
}

// The last record of each number, as the orbs read them.
std::map<std::string, ConfigRecord> RecordsByNumber(
    const std::vector<std::string>& file_lines, std::string_view mode_word) {
  std::map<std::string, ConfigRecord> records;
  for (const std::string& line : file_lines) {
    if (IsHeaderLine(line, mode_word) || !IsRecordLine(line, mode_word)) {
      continue;
    }
    const ConfigRecord record(line);
    if (!ParseInteger(record.number())) continue;
    records.insert_or_assign(record.number(), record);
  }
  return records;
}

}  // namespace

GridPlace PlaceOf(const ConfigRecord& record) {
  GridPlace place;
  place.row = ParseInteger(record.row()).value_or(0);
  place.column = ParseInteger(record.column()).value_or(0);
  place.size =
      ParseGridSizeText(record.grid_size_text()).value_or(GridSize{1, 1});
  return place;
}

PlaceCheck CheckPlace(const std::vector<std::string>& file_lines,
                      std::string_view mode_word, const GridPlace& place,
                      std::string_view own_number) {
  const HeaderSettings grid = ScanHeader(file_lines, mode_word).settings;
  if (place.row < 0 || place.column < 0 ||
      place.row + place.size.rows > grid.rows ||
      place.column + place.size.columns > grid.columns) {
    return {PlaceCheck::Outcome::kOutsideGrid, ""};
  }
  for (const auto& [number, record] : RecordsByNumber(file_lines, mode_word)) {
    if (number == own_number) continue;
    if (Overlaps(place, PlaceOf(record))) {
      return {PlaceCheck::Outcome::kCovered, number};
    }
  }
  return {};
}

}  // namespace vigil
