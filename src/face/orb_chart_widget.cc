#include "face/orb_chart_widget.h"

#include <QGraphicsLayout>
#include <QLinearGradient>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QHorizontalStackedBarSeries>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QPieSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QStackedBarSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <map>
#include <tuple>

#include "face/widget_helpers_widget.h"
#include "store/text.h"

namespace vigil {
namespace {

enum class SlotKind {
  kBars,
  kHorizontalBars,
  kStackedBars,
  kLine,
  kArea,
  kRectPoints,
  kPoints
};

SlotKind KindOfSlot(int chart_kind, size_t slot) {
  switch (chart_kind) {
    case 1:
      return slot == 0 ? SlotKind::kBars : SlotKind::kLine;
    case 2:
      return SlotKind::kHorizontalBars;
    case 3:
      return SlotKind::kStackedBars;
    case 4:
      return SlotKind::kArea;
    case 5:
      return SlotKind::kLine;
    case 6:
      return slot == 0 ? SlotKind::kRectPoints : SlotKind::kPoints;
    default:
      return SlotKind::kBars;
  }
}

bool HasGradient(int chart_kind, size_t slot) {
  return slot == 0 && (chart_kind == 0 || chart_kind == 2);
}

bool IsDrawn(const SeriesSlot& slot) {
  return slot.active && !slot.points.empty();
}

// A category axis drops repeated names, so repeats get invisible marks.
QStringList UniqueLabels(const SeriesSlot& slot, size_t count) {
  QStringList labels;
  std::map<QString, int> seen;
  for (size_t i = 0; i < count; ++i) {
    QString label =
        i < slot.points.size() ? ToQString(slot.points[i].label) : QString();
    const int repeats = seen[label]++;
    label += QString(repeats, QChar(0x200B));
    labels.append(label);
  }
  return labels;
}

QBrush BarBrush(const QColor& colour, bool gradient, bool horizontal) {
  if (!gradient) return QBrush(colour);
  QLinearGradient shade(0, 0, horizontal ? 0 : 1, horizontal ? 1 : 0);
  shade.setCoordinateMode(QGradient::ObjectBoundingMode);
  shade.setColorAt(0, colour.lighter(150));
  shade.setColorAt(0.5, colour);
  shade.setColorAt(1, colour.darker(130));
  return QBrush(shade);
}

// One bar set per colour: a set draws every bar in one colour, and the
// slots colour each point on its own.
void AddColourSets(QAbstractBarSeries* series, const SeriesSlot& slot,
                   size_t count, bool gradient, bool horizontal) {
  std::vector<std::tuple<int, int, int>> colours;
  for (const ChartPoint& point : slot.points) {
    const auto key =
        std::make_tuple(point.colour.r, point.colour.g, point.colour.b);
    if (std::find(colours.begin(), colours.end(), key) == colours.end()) {
      colours.push_back(key);
    }
  }
  for (const auto& [r, g, b] : colours) {
    auto* set = new QBarSet(ToQString(slot.title));
    for (size_t i = 0; i < count; ++i) {
      const bool mine =
          i < slot.points.size() &&
          slot.points[i].colour ==
              Rgb{std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)};
      set->append(mine ? slot.points[i].value : 0);
    }
    const QColor colour(r, g, b);
    set->setBrush(BarBrush(colour, gradient, horizontal));
    set->setPen(QPen(colour.darker(150), 0.5));
    series->append(set);
  }
}

void HideExtraMarkers(QChart* chart, QAbstractSeries* series) {
  const auto markers = chart->legend()->markers(series);
  for (qsizetype i = 1; i < markers.size(); ++i) markers[i]->setVisible(false);
}

QFont SmallFont() {
  QFont font("Arial");
  font.setPixelSize(7);
  return font;
}

// The longest drawn slot gives the number of categories and their names.
struct LongestSlot {
  size_t index = 0;
  size_t count = 0;
};

LongestSlot FindLongestSlot(const ChartContent& content) {
  LongestSlot longest;
  for (size_t k = 0; k < content.series.size(); ++k) {
    const SeriesSlot& slot = content.series[k];
    if (IsDrawn(slot) && slot.points.size() > longest.count) {
      longest = {k, slot.points.size()};
    }
  }
  return longest;
}

struct ChartAxes {
  QBarCategoryAxis* categories;
  QValueAxis* values;
};

ChartAxes AddAxes(QChart* chart, const SeriesSlot& label_slot, size_t count,
                  bool horizontal, int room) {
  auto* categories = new QBarCategoryAxis;
  categories->append(UniqueLabels(label_slot, count));
  categories->setLabelsFont(SmallFont());
  categories->setGridLineVisible(false);
  // Names are readable only while they have some room.
  categories->setLabelsVisible(count > 0 &&
                               static_cast<int>(count) * 28 <= room);
  auto* values = new QValueAxis;
  values->setLabelsFont(SmallFont());
  values->setLabelFormat("%g");
  values->setTickCount(3);
  values->setGridLineColor(QColor(220, 220, 220));
  chart->addAxis(categories, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
  chart->addAxis(values, horizontal ? Qt::AlignBottom : Qt::AlignLeft);
  return {categories, values};
}

void Attach(QChart* chart, QAbstractSeries* series, const ChartAxes& axes) {
  chart->addSeries(series);
  series->attachAxis(axes.categories);
  series->attachAxis(axes.values);
  HideExtraMarkers(chart, series);
}

struct ValueRange {
  double low = 0;
  double high = 0;
};

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

QColor FirstColour(const SeriesSlot& slot) {
  return ToQColor(slot.points.front().colour);
}

QLineSeries* NewLineSeries(const SeriesSlot& slot) {
  auto* line = new QLineSeries;
  line->setName(ToQString(slot.title));
  for (size_t i = 0; i < slot.points.size(); ++i) {
    line->append(double(i), slot.points[i].value);
  }
  line->setPen(QPen(FirstColour(slot), 2));
  return line;
}

QAreaSeries* NewAreaSeries(const SeriesSlot& slot) {
  // The chart deletes only the series it holds, and an area built on a
  // line leaves that line without an owner: make it the area's.
  auto* area = new QAreaSeries;
  auto* upper = new QLineSeries(area);
  for (size_t i = 0; i < slot.points.size(); ++i) {
    upper->append(double(i), slot.points[i].value);
  }
  area->setUpperSeries(upper);
  area->setName(ToQString(slot.title));
  const QColor first = FirstColour(slot);
  QColor fill = first;
  fill.setAlpha(235);
  area->setBrush(fill);
  area->setPen(QPen(first.darker(140), 1));
  return area;
}

QScatterSeries* NewPointSeries(const SeriesSlot& slot, bool rectangles) {
  auto* points = new QScatterSeries;
  points->setName(ToQString(slot.title));
  points->setMarkerShape(rectangles ? QScatterSeries::MarkerShapeRectangle
                                    : QScatterSeries::MarkerShapeCircle);
  points->setMarkerSize(7);
  const QColor first = FirstColour(slot);
  points->setColor(first);
  points->setBorderColor(first.darker(150));
  for (size_t i = 0; i < slot.points.size(); ++i) {
    points->append(double(i), slot.points[i].value);
  }
  return points;
}

void ColourEachPoint(QScatterSeries* points, const SeriesSlot& slot) {
  for (size_t i = 0; i < slot.points.size(); ++i) {
    points->setPointConfiguration(static_cast<int>(i),
                                  {{QXYSeries::PointConfiguration::Color,
                                    ToQColor(slot.points[i].colour)}});
  }
}

// What the slots of one drawing share; the stacked bars of every slot
// gather in one series, attached after the others.
struct Drawing {
  QChart* chart;
  int chart_kind;
  size_t count;
  ChartAxes axes;
  QStackedBarSeries* stack = nullptr;
};

void DrawSlot(Drawing& drawing, const SeriesSlot& slot, size_t k) {
  const SlotKind slot_kind = KindOfSlot(drawing.chart_kind, k);
  const bool gradient = HasGradient(drawing.chart_kind, k);
  switch (slot_kind) {
    case SlotKind::kBars: {
      auto* series = new QStackedBarSeries;
      AddColourSets(series, slot, drawing.count, gradient, false);
      Attach(drawing.chart, series, drawing.axes);
      break;
    }
    case SlotKind::kHorizontalBars: {
      auto* series = new QHorizontalStackedBarSeries;
      AddColourSets(series, slot, drawing.count, gradient, true);
      Attach(drawing.chart, series, drawing.axes);
      break;
    }
    case SlotKind::kStackedBars:
      if (drawing.stack == nullptr) drawing.stack = new QStackedBarSeries;
      AddColourSets(drawing.stack, slot, drawing.count, false, false);
      break;
    case SlotKind::kLine:
      Attach(drawing.chart, NewLineSeries(slot), drawing.axes);
      break;
    case SlotKind::kArea:
      Attach(drawing.chart, NewAreaSeries(slot), drawing.axes);
      break;
    case SlotKind::kRectPoints:
    case SlotKind::kPoints: {
      auto* points = NewPointSeries(slot, slot_kind == SlotKind::kRectPoints);
      Attach(drawing.chart, points, drawing.axes);
      ColourEachPoint(points, slot);
      break;
    }
  }
}

}  // namespace

OrbChartWidget::OrbChartWidget(int kind, QWidget* parent)
    : QChartView(parent), kind_(kind) {
  setObjectName(QString("Chart0%1").arg(kind));
  setFrameShape(QFrame::NoFrame);
  setRenderHint(QPainter::Antialiasing);
  setRubberBand(QChartView::NoRubberBand);
  QChart* c = chart();
  c->setMargins(QMargins(0, 0, 0, 0));
  c->layout()->setContentsMargins(0, 0, 0, 0);
  c->setBackgroundRoundness(0);
  c->setBackgroundPen(Qt::NoPen);
  c->setPlotAreaBackgroundVisible(false);
  QFont title_font("Arial");
  title_font.setBold(true);
  title_font.setPixelSize(12);
  c->setTitleFont(title_font);
  c->setTitleBrush(ToQColor(kTeal));
  c->legend()->setAlignment(Qt::AlignTop);
  c->legend()->setFont(SmallFont());
  c->legend()->setMarkerShape(QLegend::MarkerShapeRectangle);
  c->legend()->setVisible(false);
  SetBackground(kNeutral);
  hide();
}

void OrbChartWidget::SetBackground(Rgb colour) {
  chart()->setBackgroundBrush(ToQColor(colour));
  setBackgroundBrush(ToQColor(colour));
}

void OrbChartWidget::SetLegendVisible(bool visible) {
  legend_visible_ = visible;
  chart()->legend()->setVisible(visible);
}

void OrbChartWidget::SetTitleVisible(bool visible) {
  title_visible_ = visible;
  ApplyTitle();
}

void OrbChartWidget::SetTitleText(const QString& title) {
  title_ = title;
  ApplyTitle();
}

void OrbChartWidget::ApplyTitle() {
  chart()->setTitle(title_visible_ ? title_ : QString());
}

void OrbChartWidget::Draw(const ChartContent& content) {
  QChart* c = chart();
  c->removeAllSeries();
  for (QAbstractAxis* axis : c->axes()) {
    c->removeAxis(axis);
    delete axis;
  }
  title_ = ToQString(content.title);
  ApplyTitle();
  if (kind_ == kPieChart) {
    DrawPie(content);
  } else {
    DrawAxes(content);
  }
  c->legend()->setVisible(legend_visible_);
}

void OrbChartWidget::DrawPie(const ChartContent& content) {
  const SeriesSlot& slot = content.series[0];
  // Qt Charts has no 3-D pie: a darker copy just below gives it depth.
  auto* depth = new QPieSeries;
  auto* pie = new QPieSeries;
  depth->setVerticalPosition(0.55);
  pie->setVerticalPosition(0.48);
  depth->setPieSize(0.8);
  pie->setPieSize(0.8);
  for (const ChartPoint& point : slot.points) {
    if (!(point.value > 0)) continue;  // a pie has no room for the rest
    const QColor colour = ToQColor(point.colour);
    QPieSlice* shadow = depth->append(QString(), point.value);
    shadow->setBrush(colour.darker(170));
    shadow->setPen(Qt::NoPen);
    QPieSlice* slice = pie->append(ToQString(point.label), point.value);
    slice->setBrush(colour);
    slice->setPen(QPen(colour.darker(140), 0.5));
  }
  chart()->addSeries(depth);
  chart()->addSeries(pie);
  for (QLegendMarker* marker : chart()->legend()->markers(depth)) {
    marker->setVisible(false);
  }
}

void OrbChartWidget::DrawAxes(const ChartContent& content) {
  const LongestSlot longest = FindLongestSlot(content);
  const bool horizontal = kind_ == 2;
  Drawing drawing{chart(), kind_, longest.count,
                  AddAxes(chart(), content.series[longest.index], longest.count,
                          horizontal, horizontal ? height() : width())};
  for (size_t k = 0; k < content.series.size(); ++k) {
    if (IsDrawn(content.series[k])) DrawSlot(drawing, content.series[k], k);
  }
  if (drawing.stack != nullptr) {
    Attach(drawing.chart, drawing.stack, drawing.axes);
  }
  const bool stacked = KindOfSlot(kind_, 0) == SlotKind::kStackedBars;
  const ValueRange range = RangeOf(content, longest.count, stacked);
  drawing.axes.values->setRange(range.low,
                                range.high + (range.high - range.low) * 0.05);
  drawing.axes.values->applyNiceNumbers();
}

}  // namespace vigil
