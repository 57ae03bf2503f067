// What a chart widget draws for the slots of one build: its series, each
// with its colours and values, the number of categories and the value
// range. A drawing whose series have the same shape as the last one only
// moves values, so the widget keeps its series and axes.
#ifndef VIGIL_FACE_CHART_PIECES_H_
#define VIGIL_FACE_CHART_PIECES_H_

#include <cstddef>
#include <string>
#include <vector>

#include "face/chart_kind.h"
#include "face/chart_model.h"
#include "store/colour.h"

namespace vigil {

// The bars of one colour; the set has 0 where a bar has another colour.
struct BarColourSet {
  std::string title;
  Rgb colour;
  std::vector<double> values;
  friend bool operator==(const BarColourSet&, const BarColourSet&) = default;
};

struct PieceXY {
  double x = 0;
  double y = 0;
  friend bool operator==(const PieceXY&, const PieceXY&) = default;
};

// One series of the chart widget.
struct ChartPiece {
  PieceKind kind = PieceKind::kBars;
  bool gradient = false;           // the shaded bars of the first slot
  std::vector<BarColourSet> sets;  // the bar kinds
  Rgb colour;                      // lines, areas, points
  std::vector<PieceXY> points;     // lines, areas, points
  std::vector<Rgb> point_colours;  // points: each its own
  std::vector<ChartPoint> slices;  // the pie and its depth
  friend bool operator==(const ChartPiece&, const ChartPiece&) = default;
};

struct ValueRange {
  double low = 0;
  double high = 0;
};

// A value axis from low to high with ticks at even steps.
struct ValueScale {
  double low = 0;
  double high = 1;
  int ticks = 2;
  friend bool operator==(const ValueScale&, const ValueScale&) = default;
};

// The loose nice-number labelling of Heckbert (Graphics Gems I): round
// steps of 1, 2 or 5 times a power of ten that take in the range, for
// about the given number of ticks (2 at least); as the toolkit's axis
// computes it, so that the axis is set only when it changes.
ValueScale NiceScale(ValueRange range, int ticks);

struct ChartPlan {
  std::vector<ChartPiece> pieces;  // in the order they are attached
  size_t categories = 0;           // points of the longest drawn slot
  size_t names_slot = 0;           // the slot whose labels name them
  ValueRange range;                // never empty
  ValueScale scale;                // the range and a twentieth above
};

// A slot is drawn when it is active and has points.
bool IsDrawn(const SeriesSlot& slot);

// The series that chart kind 0 to 7 draws for the content's slots.
ChartPlan PlanChart(int chart_kind, const ChartContent& content);

// Whether a series drawn for `drawn` can show `next` by taking its values
// and names: the same kind, colours and number of points.
bool SameShape(const ChartPiece& drawn, const ChartPiece& next);

}  // namespace vigil

#endif  // VIGIL_FACE_CHART_PIECES_H_
