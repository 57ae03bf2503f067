#include "vigil/grid_findings.h"

#include <map>
#include <set>
#include <string>
#include <utility>

#include "store/grid_cover.h"
#include "store/text.h"

namespace vigil::cli {
namespace {

namespace layout = record_layout;

std::string Describe(const GridPlace& at) {
  return std::to_string(at.size.rows) + "x" + std::to_string(at.size.columns) +
         " cells from row " + TwoDigits(at.row) + ", column " +
         TwoDigits(at.column);
}

std::string GridText(const GridBounds& bounds) {
  std::string text = std::to_string(bounds.rows) + " rows and " +
                     std::to_string(bounds.columns) + " columns";
  return text +
         (bounds.header_line > 0
              ? " (header line " + std::to_string(bounds.header_line) + ")"
              : " (no header line: the default)");
}

void CheckBounds(const PlacedRecord& placed, const GridPlace& at,
                 const GridBounds& bounds, std::vector<Finding>& findings) {
  const int line = placed.line;
  const std::string grid = GridText(bounds);
  if (at.row >= bounds.rows) {
    findings.push_back(
        {line, layout::kRow.from,
         "row " + TwoDigits(at.row) + " is outside the grid of " + grid +
             "; expected a row from 00 to " + TwoDigits(bounds.rows - 1)});
  } else if (at.row + at.size.rows > bounds.rows) {
    findings.push_back(
        {line, layout::kGridSize.from,
         "height of " + std::to_string(at.size.rows) + " cells from row " +
             TwoDigits(at.row) + " reaches beyond the grid of " + grid +
             "; expected at most " + std::to_string(bounds.rows - at.row)});
  }
  if (at.column >= bounds.columns) {
    findings.push_back({line, layout::kColumn.from,
                        "column " + TwoDigits(at.column) +
                            " is outside the grid of " + grid +
                            "; expected a column from 00 to " +
                            TwoDigits(bounds.columns - 1)});
  } else if (at.column + at.size.columns > bounds.columns) {
    findings.push_back({line, layout::kGridSize.from + 3,
                        "width of " + std::to_string(at.size.columns) +
                            " cells from column " + TwoDigits(at.column) +
                            " reaches beyond the grid of " + grid +
                            "; expected at most " +
                            std::to_string(bounds.columns - at.column)});
  }
}

}  // namespace

void CheckGridPlacement(const std::vector<PlacedRecord>& records,
                        const std::optional<GridBounds>& bounds,
                        std::vector<Finding>& findings) {
  // Which record covers a cell; a later one that finds it taken overlaps.
  std::map<std::pair<int, int>, size_t> owners;
  std::vector<GridPlace> places(records.size());
  for (size_t i = 0; i < records.size(); ++i) {
    const ConfigRecord& record = records[i].record;
    // A size the column checks refuse still places the orb's first cell.
    GridPlace& at = places[i] = PlaceOf(record);
    if (bounds) CheckBounds(records[i], at, *bounds, findings);
    std::set<size_t> overlapped;
    for (int row = at.row; row < at.row + at.size.rows; ++row) {
      for (int column = at.column; column < at.column + at.size.columns;
           ++column) {
        const auto [owner, free] = owners.try_emplace({row, column}, i);
        if (!free) overlapped.insert(owner->second);
      }
    }
    // A record too short for a grid size is one cell; point at its start.
    const int column =
        static_cast<int>(record.text().size()) >= layout::kGridSize.last()
            ? layout::kGridSize.from
            : 1;
    for (const size_t other : overlapped) {
      findings.push_back(
          {records[i].line, column,
           "orb " + record.number() + " (" + Describe(at) + ") overlaps orb " +
               records[other].record.number() + " (" + Describe(places[other]) +
               ", line " + std::to_string(records[other].line) +
               "); expected cells that no other orb covers"});
    }
  }
}

}  // namespace vigil::cli
