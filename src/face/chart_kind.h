// The eight chart kinds of column 18 in one table: how each is named in
// the settings dialog and by vigil, how its series are drawn, and whether
// it can show a legend. A new kind is one line here.
#ifndef VIGIL_FACE_CHART_KIND_H_
#define VIGIL_FACE_CHART_KIND_H_

#include <array>
#include <cstddef>
#include <string_view>

namespace vigil {

// How one series is drawn.
enum class PieceKind {
  kBars,
  kHorizontalBars,
  kStackedBars,
  kLine,
  kArea,
  kRectPoints,
  kPoints,
  kPie,
  kPieDepth  // a darker copy of the pie just below it
};

struct ChartKind {
  const char* caption;     // the settings dialog's list
  std::string_view word;   // vigil add --chart
  PieceKind first_series;  // the first slot, the kept item's
  PieceKind other_series;
  bool gradient = false;  // the first series drawn with a gradient
  bool legend = true;     // a legend can be shown
  bool pie = false;       // one pie of the first series, without axes
};

inline constexpr std::array<ChartKind, 8> kChartKindTable = {{
    {"Bar(s)", "bars", PieceKind::kBars, PieceKind::kBars, true},
    {"B/Line", "bar-line", PieceKind::kBars, PieceKind::kLine, false, false},
    {"Vertics", "vertical", PieceKind::kHorizontalBars,
     PieceKind::kHorizontalBars, true},
    {"Stack", "stack", PieceKind::kStackedBars, PieceKind::kStackedBars, false,
     false},
    {"Area", "area", PieceKind::kArea, PieceKind::kArea},
    {"Lines", "lines", PieceKind::kLine, PieceKind::kLine},
    {"Points", "points", PieceKind::kRectPoints, PieceKind::kPoints, false,
     false},
    {"Pie(s)", "pie", PieceKind::kBars, PieceKind::kBars, false, true, true},
}};

inline constexpr int kChartKinds = static_cast<int>(kChartKindTable.size());

// The kind of that number; a number outside the table counts as the first.
constexpr const ChartKind& ChartKindAt(int kind) {
  return kind >= 0 && kind < kChartKinds
             ? kChartKindTable[static_cast<size_t>(kind)]
             : kChartKindTable[0];
}

}  // namespace vigil

#endif  // VIGIL_FACE_CHART_KIND_H_
