#include "face/orb_chart_widget.h"

#include <QFontMetrics>
#include <QGraphicsLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QHorizontalStackedBarSeries>
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

// Pixel sizes, about 7.5 and 8 pt at 96 dpi: the orb's geometry is in
// pixels whatever the screen.
QFont AxisFont() {
  QFont font("Arial");
  font.setPixelSize(10);
  return font;
}

QFont LegendFont() {
  QFont font("Arial");
  font.setPixelSize(11);
  return font;
}

constexpr int kLegendBox = 9;
constexpr int kLegendGap = 3;
constexpr int kLegendSpacing = 8;
constexpr int kLegendSide = 2;  // clear of the orb's frame
// The legend never takes more than this share of the chart's height.
constexpr int kLegendHeightPercent = 35;
// Qt cuts an axis name that lacks room to "...": the sizes below, found by
// trying, keep a name from being drawn unless it is drawn whole. Qt gives
// each name the plot's length over the count plus one, less a margin.
constexpr int kValueAxisRoom = 34;  // the value axis beside the names
constexpr int kAxisNameMargin = 10;
// The height a value label needs between two ticks.
constexpr int kValueLabelRoom = 22;
// Below this Qt squeezes the axis labels to "..." as well.
constexpr int kMinPlotHeight = 30;

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

// Category names are drawn only where each has room for its whole text:
// Qt would cut them all to "...".
bool CategoryNamesFit(const QStringList& names, bool horizontal, QSize size) {
  if (names.isEmpty()) return false;
  const QFontMetrics metrics(AxisFont());
  const int positions = static_cast<int>(names.size()) + 1;
  int widest = 0;
  for (const QString& name : names) {
    widest = std::max(widest, metrics.horizontalAdvance(name));
  }
  if (horizontal) {
    return widest <= size.width() / 3 &&
           metrics.height() + kAxisNameMargin <=
               (size.height() - kValueAxisRoom) / positions;
  }
  return widest + kAxisNameMargin <=
         (size.width() - kValueAxisRoom) / positions;
}

ChartAxes AddAxes(QChart* chart, const QStringList& names, bool horizontal) {
  auto* categories = new QBarCategoryAxis;
  categories->append(names);
  categories->setLabelsFont(AxisFont());
  categories->setGridLineVisible(false);
  auto* values = new QValueAxis;
  values->setLabelsFont(AxisFont());
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

bool OneColour(const SeriesSlot& slot) {
  return std::all_of(slot.points.begin(), slot.points.end(),
                     [&](const ChartPoint& point) {
                       return point.colour == slot.points.front().colour;
                     });
}

// Part of a slot's line or area, drawn in one colour.
struct Stretch {
  QList<QPointF> points;
  QColor colour;
};

// The whole slot in its first colour, or, when its points differ in
// colour (the items of a bar build), each point's part of it, halfway to
// its neighbours, in that point's colour: so the legend's colours show.
std::vector<Stretch> StretchesOf(const SeriesSlot& slot) {
  const auto at = [&](size_t i) {
    return QPointF(double(i), slot.points[i].value);
  };
  const size_t count = slot.points.size();
  if (OneColour(slot)) {
    Stretch whole{{}, FirstColour(slot)};
    for (size_t i = 0; i < count; ++i) whole.points.append(at(i));
    return {whole};
  }
  std::vector<Stretch> stretches;
  for (size_t i = 0; i < count; ++i) {
    Stretch part{{}, ToQColor(slot.points[i].colour)};
    if (i > 0) part.points.append((at(i - 1) + at(i)) / 2);
    part.points.append(at(i));
    if (i + 1 < count) part.points.append((at(i) + at(i + 1)) / 2);
    stretches.push_back(part);
  }
  return stretches;
}

QLineSeries* NewLineSeries(const Stretch& stretch) {
  auto* line = new QLineSeries;
  line->append(stretch.points);
  line->setPen(QPen(stretch.colour, 2));
  return line;
}

QAreaSeries* NewAreaSeries(const Stretch& stretch) {
  // The chart deletes only the series it holds, and an area built on a
  // line leaves that line without an owner: make it the area's.
  auto* area = new QAreaSeries;
  auto* upper = new QLineSeries(area);
  upper->append(stretch.points);
  area->setUpperSeries(upper);
  QColor fill = stretch.colour;
  fill.setAlpha(235);
  area->setBrush(fill);
  area->setPen(QPen(stretch.colour.darker(140), 1));
  return area;
}

QScatterSeries* NewPointSeries(const SeriesSlot& slot, bool rectangles) {
  auto* points = new QScatterSeries;
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
      for (const Stretch& stretch : StretchesOf(slot)) {
        Attach(drawing.chart, NewLineSeries(stretch), drawing.axes);
      }
      break;
    case SlotKind::kArea:
      for (const Stretch& stretch : StretchesOf(slot)) {
        Attach(drawing.chart, NewAreaSeries(stretch), drawing.axes);
      }
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
  c->legend()->setVisible(false);  // the widget draws its own
  SetBackground(kNeutral);
  hide();
}

void OrbChartWidget::SetBackground(Rgb colour) {
  chart()->setBackgroundBrush(ToQColor(colour));
  setBackgroundBrush(ToQColor(colour));
}

// Each cycle sets the legend and the title again: only a change lays the
// chart out anew.
void OrbChartWidget::SetLegendVisible(bool visible) {
  if (visible == legend_visible_) return;
  legend_visible_ = visible;
  ArrangeLegend();
}

void OrbChartWidget::SetTitleVisible(bool visible) {
  if (visible == title_visible_) return;
  title_visible_ = visible;
  ApplyTitle();
}

void OrbChartWidget::SetTitleText(const QString& title) {
  if (title == title_) return;
  title_ = title;
  ApplyTitle();
}

void OrbChartWidget::ApplyTitle() {
  chart()->setTitle(title_visible_ ? title_ : QString());
  ArrangeLegend();  // the title takes height from the plot
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
  legend_entries_ = LegendEntries(content);
  legend_lists_points_ = LegendListsPoints(content);
  ArrangeLegend();
}

void OrbChartWidget::resizeEvent(QResizeEvent* event) {
  QChartView::resizeEvent(event);
  ArrangeLegend();
}

void OrbChartWidget::ArrangeLegend() {
  const bool horizontal = kind_ == 2;
  const bool legend_shown = legend_visible_ && !legend_entries_.empty();
  // A legend of the items names the bars already, and needs the room.
  const bool names_shown =
      categories_ && CategoryNamesFit(category_names_, horizontal, size()) &&
      !(legend_shown && legend_lists_points_);
  if (categories_) categories_->setLabelsVisible(names_shown);
  const int title = title_visible_ && !title_.isEmpty()
                        ? QFontMetrics(chart()->titleFont()).height() + 4
                        : 0;
  const int labels_below =
      (horizontal && values_) || names_shown
          ? QFontMetrics(AxisFont()).height() + kAxisNameMargin
          : 0;
  legend_items_.clear();
  legend_cut_short_ = false;
  const int band =
      legend_shown
          ? PlaceLegend(height() - title - labels_below - kMinPlotHeight)
          : 0;
  chart()->setMargins(QMargins(0, 0, 0, band));
  if (values_ && !horizontal) {
    // Where three value labels have no room Qt cuts each to "...": the
    // lowest and the highest value still fit.
    const int plot = height() - band - title - labels_below;
    values_->setTickCount(
        plot >= (nice_ticks_ - 1) * kValueLabelRoom ? nice_ticks_ : 2);
  }
  viewport()->update();
}

int OrbChartWidget::PlaceLegend(int room) {
  const QFontMetrics metrics(LegendFont());
  std::vector<int> widths;
  for (const LegendEntry& entry : legend_entries_) {
    widths.push_back(metrics.horizontalAdvance(ToQString(entry.text)));
  }
  const int row_height = metrics.height() + 1;
  const int max_rows = std::max(
      1, std::min(height() * kLegendHeightPercent / 100, room) / row_height);
  const LegendLayout layout = LayOutLegend(
      widths, width() - 2 * kLegendSide, max_rows,
      {.box = kLegendBox,
       .gap = kLegendGap,
       .spacing = kLegendSpacing,
       .min_text = metrics.horizontalAdvance(QString("Abc") + QChar(0x2026)),
       .ellipsis = metrics.horizontalAdvance(QChar(0x2026))});
  const int band = layout.rows * row_height + 1;
  const int top = height() - band;
  for (const LegendPlace& place : layout.places) {
    const LegendEntry& entry = legend_entries_[place.entry];
    const QRect box(
        kLegendSide + place.x,
        top + place.row * row_height + (row_height - kLegendBox) / 2,
        kLegendBox, kLegendBox);
    QString text = ToQString(entry.text);
    // Only a text that lacks room is cut: eliding at its own measured
    // width may cut it too, by rounding.
    if (place.text_width < widths[place.entry]) {
      text = metrics.elidedText(text, Qt::ElideRight, place.text_width);
    }
    legend_items_.push_back({text, ToQColor(entry.colour), box});
  }
  if (layout.ellipsis_x) {
    legend_cut_short_ = true;
    ellipsis_at_ = QPoint(kLegendSide + *layout.ellipsis_x,
                          top + (layout.rows - 1) * row_height);
  }
  return band;
}

void OrbChartWidget::drawForeground(QPainter* painter, const QRectF& rect) {
  QChartView::drawForeground(painter, rect);
  if (legend_items_.empty() && !legend_cut_short_) return;
  painter->save();
  painter->resetTransform();  // the legend is placed in widget pixels
  painter->setFont(LegendFont());
  const QFontMetrics metrics(LegendFont());
  const int row_height = metrics.height() + 1;
  for (const LegendItem& item : legend_items_) {
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(item.colour.darker(160));
    painter->setBrush(item.colour);
    painter->drawRect(item.box.adjusted(0, 0, -1, -1));
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(Qt::black);
    const int text_left = item.box.right() + 1 + kLegendGap;
    const int row_top = item.box.top() - (row_height - kLegendBox) / 2;
    painter->drawText(
        QRect(text_left, row_top, width() - text_left, row_height),
        Qt::AlignLeft | Qt::AlignVCenter, item.text);
  }
  if (legend_cut_short_) {
    painter->setPen(Qt::black);
    painter->drawText(QRect(ellipsis_at_, QSize(width(), row_height)),
                      Qt::AlignLeft | Qt::AlignVCenter, QString(QChar(0x2026)));
  }
  painter->restore();
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
}

void OrbChartWidget::DrawAxes(const ChartContent& content) {
  const LongestSlot longest = FindLongestSlot(content);
  const bool horizontal = kind_ == 2;
  category_names_ = UniqueLabels(content.series[longest.index], longest.count);
  Drawing drawing{chart(), kind_, longest.count,
                  AddAxes(chart(), category_names_, horizontal)};
  categories_ = drawing.axes.categories;
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
  values_ = drawing.axes.values;
  nice_ticks_ = values_->tickCount();
}

}  // namespace vigil
