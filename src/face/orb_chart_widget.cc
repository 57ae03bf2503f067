#include "face/orb_chart_widget.h"

#include <QFontMetrics>
#include <QGraphicsLayout>
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

#include "face/chart_pieces.h"
#include "face/colour_bars_widget.h"
#include "face/widget_helpers_widget.h"
#include "store/text.h"

namespace vigil {
namespace {

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

// One bar set per colour, as the chart alone would draw the piece.
void AddColourSets(QAbstractBarSeries* series, const ChartPiece& piece,
                   bool horizontal) {
  for (const BarColourSet& colour_set : piece.sets) {
    auto* set = new QBarSet(ToQString(colour_set.title));
    for (double value : colour_set.values) set->append(value);
    const QColor colour = ToQColor(colour_set.colour);
    set->setBrush(BarBrush(colour, piece.gradient, horizontal));
    set->setPen(QPen(colour.darker(150), 0.5));
    series->append(set);
  }
}

// A pixel size, about 7.5 pt at 96 dpi: the plot's geometry is in pixels
// whatever the screen.
QFont AxisFont() {
  QFont font("Arial");
  font.setPixelSize(10);
  return font;
}

// The legend is laid out by its font's measure, in the orb's text font.
QFont LegendFont() { return TextFont(); }

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

QList<QPointF> QPoints(const ChartPiece& piece) {
  QList<QPointF> points;
  for (const PieceXY& xy : piece.points) points.append(QPointF(xy.x, xy.y));
  return points;
}

QLineSeries* NewLineSeries(const ChartPiece& piece) {
  auto* line = new QLineSeries;
  line->append(QPoints(piece));
  line->setPen(QPen(ToQColor(piece.colour), 2));
  return line;
}

QAreaSeries* NewAreaSeries(const ChartPiece& piece) {
  // The chart deletes only the series it holds, and an area built on a
  // line leaves that line without an owner: make it the area's.
  auto* area = new QAreaSeries;
  auto* upper = new QLineSeries(area);
  upper->append(QPoints(piece));
  area->setUpperSeries(upper);
  QColor fill = ToQColor(piece.colour);
  fill.setAlpha(235);
  area->setBrush(fill);
  area->setPen(QPen(ToQColor(piece.colour).darker(140), 1));
  return area;
}

QScatterSeries* NewPointSeries(const ChartPiece& piece) {
  auto* points = new QScatterSeries;
  points->setMarkerShape(piece.kind == PieceKind::kRectPoints
                             ? QScatterSeries::MarkerShapeRectangle
                             : QScatterSeries::MarkerShapeCircle);
  points->setMarkerSize(7);
  const QColor first = ToQColor(piece.colour);
  points->setColor(first);
  points->setBorderColor(first.darker(150));
  points->append(QPoints(piece));
  return points;
}

void ColourEachPoint(QScatterSeries* points, const ChartPiece& piece) {
  for (size_t i = 0; i < piece.point_colours.size(); ++i) {
    points->setPointConfiguration(static_cast<int>(i),
                                  {{QXYSeries::PointConfiguration::Color,
                                    ToQColor(piece.point_colours[i])}});
  }
}

// Qt Charts has no 3-D pie: a darker copy just below gives it depth.
QPieSeries* NewPieSeries(const ChartPiece& piece) {
  const bool depth = piece.kind == PieceKind::kPieDepth;
  auto* pie = new QPieSeries;
  pie->setVerticalPosition(depth ? 0.55 : 0.48);
  pie->setPieSize(0.8);
  for (const ChartPoint& point : piece.slices) {
    const QColor colour = ToQColor(point.colour);
    QPieSlice* slice =
        pie->append(depth ? QString() : ToQString(point.label), point.value);
    slice->setBrush(depth ? colour.darker(170) : colour);
    slice->setPen(depth ? QPen(Qt::NoPen) : QPen(colour.darker(140), 0.5));
  }
  return pie;
}

bool IsBarPiece(const ChartPiece& piece) {
  return piece.kind == PieceKind::kBars ||
         piece.kind == PieceKind::kStackedBars ||
         piece.kind == PieceKind::kHorizontalBars;
}

// The set that lays out the plot for bars the orb paints itself: one value
// per category, drawn by nobody.
void AddCarrierSet(QAbstractBarSeries* series, const ChartPiece& piece) {
  auto* set = new QBarSet(QString());
  set->append(CategoryValues(piece));
  set->setBrush(Qt::NoBrush);
  set->setPen(Qt::NoPen);
  series->append(set);
}

QAbstractSeries* NewSeries(const ChartPiece& piece) {
  switch (piece.kind) {
    case PieceKind::kBars:
    case PieceKind::kStackedBars: {
      auto* bars = new QStackedBarSeries;
      AddCarrierSet(bars, piece);
      return bars;
    }
    case PieceKind::kHorizontalBars: {
      auto* bars = new QHorizontalStackedBarSeries;
      AddCarrierSet(bars, piece);
      return bars;
    }
    case PieceKind::kLine:
      return NewLineSeries(piece);
    case PieceKind::kArea:
      return NewAreaSeries(piece);
    case PieceKind::kRectPoints:
    case PieceKind::kPoints:
      return NewPointSeries(piece);
    default:
      return NewPieSeries(piece);
  }
}

void ReplaceBarValues(QAbstractBarSeries* bars, const ChartPiece& piece) {
  const QList<QBarSet*> sets = bars->barSets();
  for (qsizetype j = 0; j < sets.size(); ++j) {
    const std::vector<double>& values = piece.sets[j].values;
    for (size_t i = 0; i < values.size(); ++i) {
      const int at = static_cast<int>(i);
      if (sets[j]->at(at) != values[i]) sets[j]->replace(at, values[i]);
    }
  }
}

// Point by point: replacing the whole list would drop the points' colours.
void ReplacePoints(QXYSeries* series, const ChartPiece& piece) {
  for (size_t i = 0; i < piece.points.size(); ++i) {
    const QPointF point(piece.points[i].x, piece.points[i].y);
    const int at = static_cast<int>(i);
    if (series->at(at) != point) series->replace(at, point);
  }
}

void ReplaceSlices(QPieSeries* pie, const ChartPiece& piece) {
  const QList<QPieSlice*> slices = pie->slices();
  for (qsizetype i = 0; i < slices.size(); ++i) {
    const ChartPoint& point = piece.slices[i];
    slices[i]->setValue(point.value);
    if (piece.kind == PieceKind::kPie) {
      slices[i]->setLabel(ToQString(point.label));
    }
  }
}

void ReplaceCarrierValues(QAbstractBarSeries* bars, ColourBarsItem* painted,
                          const ChartPiece& piece) {
  QBarSet* set = bars->barSets().front();
  const QList<qreal> values = CategoryValues(piece);
  for (qsizetype i = 0; i < values.size(); ++i) {
    if (set->at(i) != values[i]) set->replace(i, values[i]);
  }
  painted->Show(piece);
}

// Gives a series made for a piece of the same shape the piece's values.
void ReplaceValues(QAbstractSeries* series, ColourBarsItem* painted,
                   const ChartPiece& piece) {
  switch (piece.kind) {
    case PieceKind::kBars:
    case PieceKind::kStackedBars:
    case PieceKind::kHorizontalBars:
      if (painted != nullptr) {
        ReplaceCarrierValues(static_cast<QAbstractBarSeries*>(series), painted,
                             piece);
      } else {
        ReplaceBarValues(static_cast<QAbstractBarSeries*>(series), piece);
      }
      break;
    case PieceKind::kArea:
      ReplacePoints(static_cast<QAreaSeries*>(series)->upperSeries(), piece);
      break;
    case PieceKind::kLine:
    case PieceKind::kRectPoints:
    case PieceKind::kPoints:
      ReplacePoints(static_cast<QXYSeries*>(series), piece);
      break;
    default:
      ReplaceSlices(static_cast<QPieSeries*>(series), piece);
      break;
  }
}

bool SameShapes(const ChartPlan& drawn, const ChartPlan& next) {
  return std::equal(drawn.pieces.begin(), drawn.pieces.end(),
                    next.pieces.begin(), next.pieces.end(), SameShape);
}

}  // namespace

OrbChartWidget::OrbChartWidget(int kind, QWidget* parent)
    : QChartView(parent), kind_(kind) {
  setObjectName(QString("Chart%1").arg(kind, 2, 10, QLatin1Char('0')));
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
  connect(c, &QChart::plotAreaChanged, this, [this] {
    for (ColourBarsItem* painted : painted_bars_) {
      if (painted != nullptr) painted->FollowPlotArea();
    }
  });
  SetBackground(kNeutral);
  hide();
}

// The chart lays itself out anew on each brush or title it is given, even
// the one it has: only a change is passed on.
void OrbChartWidget::SetBackground(Rgb colour) {
  const QBrush brush(ToQColor(colour));
  if (chart()->backgroundBrush() == brush) return;
  chart()->setBackgroundBrush(brush);
  setBackgroundBrush(brush);
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
  ShowTitle();
  ArrangeLegend();  // the title takes height from the plot
}

void OrbChartWidget::ShowTitle() {
  // The chart reads its title as rich text: a zoomed orb's "<%>" would be
  // taken for a tag and vanish.
  const QString shown = title_visible_ ? title_.toHtmlEscaped() : QString();
  if (chart()->title() != shown) chart()->setTitle(shown);
}

void OrbChartWidget::Draw(const ChartContent& content) {
  title_ = ToQString(content.title);
  ShowTitle();
  if (!ChartKindAt(kind_).pie && !categories_) AddAxes();
  ChartPlan plan = PlanChart(kind_, content);
  // Most cycles only move values: the series and axes stay.
  if (SameShapes(plan_, plan)) {
    for (size_t i = 0; i < plan.pieces.size(); ++i) {
      if (plan.pieces[i] != plan_.pieces[i]) {
        ReplaceValues(series_[i], painted_bars_[i], plan.pieces[i]);
      }
    }
  } else {
    DrawSeries(plan);
  }
  if (!ChartKindAt(kind_).pie) {
    ShowCategories(
        UniqueLabels(content.series[plan.names_slot], plan.categories));
    ShowScale(plan.scale);
  }
  plan_ = std::move(plan);
  legend_entries_ = LegendEntries(content);
  legend_lists_points_ = LegendListsPoints(content);
  ArrangeLegend();
}

void OrbChartWidget::DrawSeries(const ChartPlan& plan) {
  QChart* c = chart();
  // The painted bars go with their series' items.
  painted_bars_.clear();
  c->removeAllSeries();
  series_.clear();
  for (const ChartPiece& piece : plan.pieces) {
    QAbstractSeries* series = NewSeries(piece);
    c->addSeries(series);
    if (categories_) {
      series->attachAxis(categories_);
      series->attachAxis(values_);
    }
    if (!piece.point_colours.empty()) {
      ColourEachPoint(static_cast<QScatterSeries*>(series), piece);
    }
    painted_bars_.push_back(IsBarPiece(piece) ? PaintBars(series, piece)
                                              : nullptr);
    series_.push_back(series);
  }
}

ColourBarsItem* OrbChartWidget::PaintBars(QAbstractSeries* series,
                                          const ChartPiece& piece) {
  auto* bars = static_cast<QAbstractBarSeries*>(series);
  ColourBarsItem* painted = ColourBarsItem::Attach(
      chart(), bars, piece.kind == PieceKind::kHorizontalBars);
  if (painted == nullptr) {
    // A chart that lays out its bars some other way draws them itself.
    bars->clear();
    AddColourSets(bars, piece, piece.kind == PieceKind::kHorizontalBars);
    return nullptr;
  }
  painted->Show(piece);
  return painted;
}

void OrbChartWidget::AddAxes() {
  const bool horizontal = kind_ == 2;
  categories_ = new QBarCategoryAxis;
  categories_->setLabelsFont(AxisFont());
  categories_->setGridLineVisible(false);
  values_ = new QValueAxis;
  values_->setLabelsFont(AxisFont());
  values_->setLabelFormat("%g");
  values_->setGridLineColor(QColor(220, 220, 220));
  chart()->addAxis(categories_, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
  chart()->addAxis(values_, horizontal ? Qt::AlignBottom : Qt::AlignLeft);
}

void OrbChartWidget::ShowCategories(const QStringList& names) {
  if (names == category_names_) return;
  category_names_ = names;
  categories_->setCategories(names);
}

// The axis lays itself out at once on every change: only a new scale is
// set.
void OrbChartWidget::ShowScale(const ValueScale& scale) {
  if (values_->min() != scale.low || values_->max() != scale.high) {
    values_->setRange(scale.low, scale.high);
  }
  nice_ticks_ = scale.ticks;
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
  if (values_) {
    // Where three value labels have no room Qt cuts each to "...": the
    // lowest and the highest value still fit.
    const int plot = height() - band - title - labels_below;
    const bool room = horizontal || plot >= (nice_ticks_ - 1) * kValueLabelRoom;
    values_->setTickCount(room ? nice_ticks_ : 2);
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

}  // namespace vigil

extern "C" Q_DECL_EXPORT vigil::ChartFace* VigilNewChartFace(int kind,
                                                             QWidget* parent) {
  return new vigil::OrbChartWidget(kind, parent);
}
