#include "face/chart_pieces.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace vigil {
namespace {

PieceKind KindOfSlot(int chart_kind, size_t slot) {
  const ChartKind& kind = ChartKindAt(chart_kind);
  return slot == 0 ? kind.first_series : kind.other_series;
}

ChartPiece PieceOf(PieceKind kind, Rgb colour = {}) {
  ChartPiece piece;
  piece.kind = kind;
  piece.colour = colour;
  return piece;
}

bool HasGradient(int chart_kind, size_t slot) {
  return slot == 0 && ChartKindAt(chart_kind).gradient;
}

// One bar set per colour, in the order the colours first come: a set
// draws every bar in one colour, and the slots colour each point apart.
std::vector<BarColourSet> ColourSets(const SeriesSlot& slot, size_t count) {
  std::vector<BarColourSet> sets;
  for (const ChartPoint& point : slot.points) {
    const bool known = std::any_of(
        sets.begin(), sets.end(),
        [&](const BarColourSet& set) { return set.colour == point.colour; });
    if (!known) sets.push_back({slot.title, point.colour, {}});
  }
  for (BarColourSet& set : sets) {
    for (size_t i = 0; i < count; ++i) {
      const bool mine =
          i < slot.points.size() && slot.points[i].colour == set.colour;
      set.values.push_back(mine ? slot.points[i].value : 0);
    }
  }
  return sets;
}

PieceXY At(const SeriesSlot& slot, size_t i) {
  return {static_cast<double>(i), slot.points[i].value};
}

PieceXY Halfway(PieceXY a, PieceXY b) {
  return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}

bool OneColour(const SeriesSlot& slot) {
  return std::all_of(slot.points.begin(), slot.points.end(),
                     [&](const ChartPoint& point) {
                       return point.colour == slot.points.front().colour;
                     });
}

// The whole slot in its first colour, or, when its points differ in
// colour (the items of a bar build), each point's part of it, halfway to
// its neighbours, in that point's colour: so the legend's colours show.
std::vector<ChartPiece> StretchesOf(PieceKind kind, const SeriesSlot& slot) {
  const size_t count = slot.points.size();
  if (OneColour(slot)) {
    ChartPiece whole = PieceOf(kind, slot.points.front().colour);
    for (size_t i = 0; i < count; ++i) whole.points.push_back(At(slot, i));
    return {whole};
  }
  std::vector<ChartPiece> stretches;
  for (size_t i = 0; i < count; ++i) {
    ChartPiece part = PieceOf(kind, slot.points[i].colour);
    if (i > 0) part.points.push_back(Halfway(At(slot, i - 1), At(slot, i)));
    part.points.push_back(At(slot, i));
    if (i + 1 < count) {
      part.points.push_back(Halfway(At(slot, i), At(slot, i + 1)));
    }
    stretches.push_back(part);
  }
  return stretches;
}

ChartPiece PointsOf(PieceKind kind, const SeriesSlot& slot) {
  ChartPiece points = PieceOf(kind, slot.points.front().colour);
  for (size_t i = 0; i < slot.points.size(); ++i) {
    points.points.push_back(At(slot, i));
    points.point_colours.push_back(slot.points[i].colour);
  }
  return points;
}

void PlanSlot(int chart_kind, const SeriesSlot& slot, size_t k, ChartPlan& plan,
              ChartPiece& stack) {
  const PieceKind kind = KindOfSlot(chart_kind, k);
  switch (kind) {
    case PieceKind::kBars:
    case PieceKind::kHorizontalBars: {
      ChartPiece bars = PieceOf(kind);
      bars.gradient = HasGradient(chart_kind, k);
      bars.sets = ColourSets(slot, plan.categories);
      plan.pieces.push_back(std::move(bars));
      break;
    }
    case PieceKind::kStackedBars:
      for (BarColourSet& set : ColourSets(slot, plan.categories)) {
        stack.sets.push_back(std::move(set));
      }
      break;
    case PieceKind::kLine:
    case PieceKind::kArea:
      for (ChartPiece& stretch : StretchesOf(kind, slot)) {
        plan.pieces.push_back(std::move(stretch));
      }
      break;
    default:
      plan.pieces.push_back(PointsOf(kind, slot));
      break;
  }
}

// From zero to every drawn value; stacked bars reach to the sum of their
// category, above and below zero apart. Never empty.
ValueRange RangeOf(const ChartContent& content, size_t count, bool stacked) {
  ValueRange range;
  std::vector<double> stacked_high(count, 0);
  std::vector<double> stacked_low(count, 0);
  for (const SeriesSlot& slot : content.series) {
    if (!IsDrawn(slot)) continue;
    for (size_t i = 0; i < slot.points.size(); ++i) {
      const double v = slot.points[i].value;
      (v >= 0 ? stacked_high[i] : stacked_low[i]) += v;
      range.low = std::min(range.low, v);
      range.high = std::max(range.high, v);
    }
  }
  if (stacked) {
    for (size_t i = 0; i < count; ++i) {
      range.high = std::max(range.high, stacked_high[i]);
      range.low = std::min(range.low, stacked_low[i]);
    }
  }
  if (range.high <= range.low) range.high = range.low + 1;
  return range;
}

ChartPlan PlanPie(const SeriesSlot& slot) {
  ChartPiece pie = PieceOf(PieceKind::kPie);
  for (const ChartPoint& point : slot.points) {
    if (point.value > 0) pie.slices.push_back(point);  // no room for the rest
  }
  ChartPiece depth = pie;
  depth.kind = PieceKind::kPieDepth;
  ChartPlan plan;
  plan.pieces = {std::move(depth), std::move(pie)};
  return plan;
}

// The nearest of 1, 2, 5 and 10 times a power of ten, or the least of
// them not below x.
double NiceNumber(double x, bool ceiling) {
  const double power = std::pow(10.0, std::floor(std::log10(x)));
  const double q = x / power;
  double nice = 10;
  if (ceiling) {
    nice = q <= 1 ? 1 : q <= 2 ? 2 : q <= 5 ? 5 : 10;
  } else {
    nice = q < 1.5 ? 1 : q < 3 ? 2 : q < 7 ? 5 : 10;
  }
  return nice * power;
}

template <typename T, typename Key>
bool SameKeys(const std::vector<T>& a, const std::vector<T>& b, Key key) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&](const T& x, const T& y) { return key(x) == key(y); });
}

}  // namespace

bool IsDrawn(const SeriesSlot& slot) {
  return slot.active && !slot.points.empty();
}

ChartPlan PlanChart(int chart_kind, const ChartContent& content) {
  if (ChartKindAt(chart_kind).pie) return PlanPie(content.series[0]);
  ChartPlan plan;
  for (size_t k = 0; k < content.series.size(); ++k) {
    const SeriesSlot& slot = content.series[k];
    if (IsDrawn(slot) && slot.points.size() > plan.categories) {
      plan.categories = slot.points.size();
      plan.names_slot = k;
    }
  }
  // The stacked bars of every slot gather in one series, attached last.
  ChartPiece stack = PieceOf(PieceKind::kStackedBars);
  for (size_t k = 0; k < content.series.size(); ++k) {
    if (IsDrawn(content.series[k])) {
      PlanSlot(chart_kind, content.series[k], k, plan, stack);
    }
  }
  if (!stack.sets.empty()) plan.pieces.push_back(std::move(stack));
  const bool stacked = KindOfSlot(chart_kind, 0) == PieceKind::kStackedBars;
  plan.range = RangeOf(content, plan.categories, stacked);
  const double headroom = (plan.range.high - plan.range.low) * 0.05;
  plan.scale = NiceScale({plan.range.low, plan.range.high + headroom}, 3);
  return plan;
}

ValueScale NiceScale(ValueRange range, int ticks) {
  if (!std::isfinite(range.high - range.low) || range.high <= range.low) {
    return {range.low, range.high, 2};  // nothing nice to find
  }
  const double span = NiceNumber(range.high - range.low, true);
  const double step = NiceNumber(span / (std::max(ticks, 2) - 1), false);
  const double low = std::floor(range.low / step);
  const double high = std::ceil(range.high / step);
  return {low * step, high * step, static_cast<int>(high - low) + 1};
}

bool SameShape(const ChartPiece& drawn, const ChartPiece& next) {
  return drawn.kind == next.kind && drawn.gradient == next.gradient &&
         drawn.colour == next.colour &&
         drawn.point_colours == next.point_colours &&
         drawn.points.size() == next.points.size() &&
         SameKeys(drawn.sets, next.sets,
                  [](const BarColourSet& set) {
                    return std::tuple<const std::string&, Rgb, size_t>(
                        set.title, set.colour, set.values.size());
                  }) &&
         SameKeys(drawn.slices, next.slices,
                  [](const ChartPoint& slice) { return slice.colour; });
}

}  // namespace vigil
