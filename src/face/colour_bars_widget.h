// Many-coloured bars drawn by the orb itself over a bar series of one
// transparent set: Qt Charts would need one bar set per colour, and an
// item, a legend marker and connections for every bar of every set. The
// series still lays out the axes and the plot, and this item, a child of
// the series' own item, paints where and in the order the sets would: set
// by set in each category, stacked as Qt stacks them, with their brush and
// pen.
#ifndef VIGIL_FACE_COLOUR_BARS_WIDGET_H_
#define VIGIL_FACE_COLOUR_BARS_WIDGET_H_

#include <QBrush>
#include <QGraphicsItem>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QtCharts/QAbstractBarSeries>
#include <QtCharts/QChart>
#include <vector>

#include "face/chart_pieces.h"

namespace vigil {

class ColourBarsItem final : public QGraphicsItem {
 public:
  // Attaches itself to the item the chart made for the series; nullptr
  // when the chart made none that it can find.
  static ColourBarsItem* Attach(QChart* chart, QAbstractBarSeries* series,
                                bool horizontal);

  // Takes the piece's sets; paints again only when they changed.
  void Show(const ChartPiece& piece);
  // The plot area moved or changed its size.
  void FollowPlotArea();

  QRectF boundingRect() const override;
  void paint(QPainter* painter, const QStyleOptionGraphicsItem* option,
             QWidget* widget) override;

 private:
  ColourBarsItem(QChart* chart, QAbstractBarSeries* series, bool horizontal,
                 QGraphicsItem* series_item);

  // A point of the value and category axes in this item's coordinates.
  QPointF At(double category, double value) const;
  QRectF BarRect(int category, double value, double base) const;

  struct SetLook {
    QBrush brush;
    QPen pen;
  };

  QChart* chart_;
  QAbstractBarSeries* series_;
  bool horizontal_;
  ChartPiece piece_;
  std::vector<SetLook> looks_;  // one per set of the piece
};

// One value per category for the series that carries the layout: the bar
// of whatever colour stands there (the other sets hold 0 there).
QList<qreal> CategoryValues(const ChartPiece& piece);

// The brush of a bar: its colour, shaded from lighter to darker across the
// bar when gradient.
QBrush BarBrush(const QColor& colour, bool gradient, bool horizontal);

}  // namespace vigil

#endif  // VIGIL_FACE_COLOUR_BARS_WIDGET_H_
