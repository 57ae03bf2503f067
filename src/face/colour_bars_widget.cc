#include "face/colour_bars_widget.h"

#include <QGraphicsObject>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

#include "face/widget_helpers_widget.h"

namespace vigil {
namespace {

bool IsBarChartItem(QGraphicsItem* item) {
  const QGraphicsObject* object = item->toGraphicsObject();
  return object != nullptr &&
         QByteArray(object->metaObject()->className()).endsWith("BarChartItem");
}

// The series' item is the chart's newest bar item that carries no bars of
// ours yet.
QGraphicsItem* SeriesItemOf(QChart* chart) {
  QGraphicsItem* found = nullptr;
  for (QGraphicsItem* item : chart->childItems()) {
    if (!IsBarChartItem(item)) continue;
    const QList<QGraphicsItem*> children = item->childItems();
    const bool taken =
        std::any_of(children.begin(), children.end(), [](QGraphicsItem* child) {
          return dynamic_cast<ColourBarsItem*>(child) != nullptr;
        });
    if (!taken) found = item;
  }
  return found;
}

}  // namespace

QBrush BarBrush(const QColor& colour, bool gradient, bool horizontal) {
  if (!gradient) return QBrush(colour);
  QLinearGradient shade(0, 0, horizontal ? 0 : 1, horizontal ? 1 : 0);
  shade.setCoordinateMode(QGradient::ObjectBoundingMode);
  shade.setColorAt(0, colour.lighter(150));
  shade.setColorAt(0.5, colour);
  shade.setColorAt(1, colour.darker(130));
  return QBrush(shade);
}

QList<qreal> CategoryValues(const ChartPiece& piece) {
  QList<qreal> values;
  for (const BarColourSet& set : piece.sets) {
    if (values.size() < static_cast<qsizetype>(set.values.size())) {
      values.resize(static_cast<qsizetype>(set.values.size()), 0);
    }
    for (size_t i = 0; i < set.values.size(); ++i) {
      values[static_cast<qsizetype>(i)] += set.values[i];
    }
  }
  return values;
}

ColourBarsItem* ColourBarsItem::Attach(QChart* chart,
                                       QAbstractBarSeries* series,
                                       bool horizontal) {
  QGraphicsItem* series_item = SeriesItemOf(chart);
  if (series_item == nullptr) return nullptr;
  return new ColourBarsItem(chart, series, horizontal, series_item);
}

ColourBarsItem::ColourBarsItem(QChart* chart, QAbstractBarSeries* series,
                               bool horizontal, QGraphicsItem* series_item)
    : QGraphicsItem(series_item),
      chart_(chart),
      series_(series),
      horizontal_(horizontal) {}

void ColourBarsItem::Show(const ChartPiece& piece) {
  if (piece == piece_) return;
  piece_ = piece;
  looks_.clear();
  for (const BarColourSet& set : piece.sets) {
    const QColor colour = ToQColor(set.colour);
    looks_.push_back({BarBrush(colour, piece.gradient, horizontal_),
                      QPen(colour.darker(150), 0.5)});
  }
  update();
}

void ColourBarsItem::FollowPlotArea() {
  prepareGeometryChange();
  update();
}

QRectF ColourBarsItem::boundingRect() const {
  return mapFromScene(chart_->rect().translated(chart_->pos())).boundingRect();
}

QPointF ColourBarsItem::At(double category, double value) const {
  const QPointF point =
      horizontal_ ? QPointF(value, category) : QPointF(category, value);
  return mapFromScene(chart_->mapToPosition(point, series_));
}

QRectF ColourBarsItem::BarRect(int category, double value, double base) const {
  const double half = series_->barWidth() / 2;
  return QRectF(At(category - half, value + base), At(category + half, base))
      .normalized();
}

// A stacked bar starts where the bars of its sign before it ended; a bar of
// 0 is not drawn, as the chart draws none.
void ColourBarsItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*,
                           QWidget*) {
  size_t categories = 0;
  for (const BarColourSet& set : piece_.sets) {
    categories = std::max(categories, set.values.size());
  }
  for (size_t category = 0; category < categories; ++category) {
    double positive = 0;
    double negative = 0;
    for (size_t i = 0; i < piece_.sets.size(); ++i) {
      const std::vector<double>& values = piece_.sets[i].values;
      if (category >= values.size() || values[category] == 0) continue;
      const double value = values[category];
      double& base = value < 0 ? negative : positive;
      painter->setPen(looks_[i].pen);
      painter->setBrush(looks_[i].brush);
      painter->drawRect(BarRect(static_cast<int>(category), value, base));
      base += value;
    }
  }
}

}  // namespace vigil
