#include "face/orb_image_list_widget.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include "face/small_images.h"

namespace vigil {
namespace {

QColor ToQColor(Rgb colour) { return QColor(colour.r, colour.g, colour.b); }

void DrawDot(QPainter& painter, const QColor& colour) {
  QRadialGradient shine(QPointF(6, 6), 8);
  shine.setColorAt(0, colour.lighter(160));
  shine.setColorAt(1, colour);
  painter.setPen(QPen(colour.darker(170), 1));
  painter.setBrush(shine);
  painter.drawEllipse(QRectF(2.5, 2.5, 11, 11));
}

void DrawSymbol(QPainter& painter, SmallShape shape, const QColor& colour) {
  const QPen pen(colour, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  switch (shape) {
    case SmallShape::kDot:
      DrawDot(painter, colour);
      break;
    case SmallShape::kStarDot:
      DrawDot(painter, colour);
      painter.setPen(QPen(Qt::black, 1.2));
      painter.drawLine(QPointF(8, 5), QPointF(8, 11));
      painter.drawLine(QPointF(5.4, 6.5), QPointF(10.6, 9.5));
      painter.drawLine(QPointF(5.4, 9.5), QPointF(10.6, 6.5));
      break;
    case SmallShape::kRingDot:
      painter.setPen(QPen(colour.darker(170), 1.4));
      painter.drawEllipse(QRectF(1, 1, 14, 14));
      painter.setPen(Qt::NoPen);
      painter.setBrush(colour);
      painter.drawEllipse(QRectF(4, 4, 8, 8));
      break;
    case SmallShape::kCross:
      painter.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap));
      painter.drawLine(QPointF(4, 4), QPointF(12, 12));
      painter.drawLine(QPointF(12, 4), QPointF(4, 12));
      break;
    case SmallShape::kChannel:
    case SmallShape::kListing:
      for (int y : {4, 8, 12}) {
        painter.drawLine(QPointF(3, y), QPointF(13, y));
      }
      break;
    case SmallShape::kBars:
      painter.setPen(Qt::NoPen);
      painter.setBrush(colour);
      painter.drawRect(QRectF(2, 9, 3, 5));
      painter.drawRect(QRectF(6.5, 4, 3, 10));
      painter.drawRect(QRectF(11, 7, 3, 7));
      break;
    case SmallShape::kGauge:
      painter.drawArc(QRectF(2, 3, 12, 12), 0, 180 * 16);
      painter.drawLine(QPointF(8, 9), QPointF(11, 5));
      break;
    case SmallShape::kPicture:
      painter.drawRect(QRectF(2, 3, 12, 10));
      painter.drawPolyline(QPolygonF(
          {QPointF(3, 12), QPointF(7, 7), QPointF(10, 10), QPointF(13, 6)}));
      break;
    case SmallShape::kTitle:
      painter.drawLine(QPointF(3, 4), QPointF(13, 4));
      painter.drawLine(QPointF(8, 4), QPointF(8, 13));
      break;
    case SmallShape::kWarning:
    case SmallShape::kAlert: {
      painter.setBrush(shape == SmallShape::kWarning ? QColor(Qt::yellow)
                                                     : QColor(Qt::red));
      painter.drawPolygon(
          QPolygonF({QPointF(8, 2), QPointF(14.5, 14), QPointF(1.5, 14)}));
      painter.drawLine(QPointF(8, 6), QPointF(8, 10));
      painter.drawPoint(QPointF(8, 12.2));
      break;
    }
    case SmallShape::kSettings:
      painter.drawEllipse(QRectF(4, 4, 8, 8));
      for (int i = 0; i < 4; ++i) {
        painter.save();
        painter.translate(8, 8);
        painter.rotate(45.0 * i);
        painter.drawLine(QPointF(-7, 0), QPointF(7, 0));
        painter.restore();
      }
      break;
    case SmallShape::kPause:
      painter.setPen(Qt::NoPen);
      painter.setBrush(colour);
      painter.drawRect(QRectF(4, 3, 3, 10));
      painter.drawRect(QRectF(9, 3, 3, 10));
      break;
    case SmallShape::kPlay:
      painter.setPen(Qt::NoPen);
      painter.setBrush(colour);
      painter.drawPolygon(
          QPolygonF({QPointF(4, 3), QPointF(13, 8), QPointF(4, 13)}));
      break;
    case SmallShape::kHide:
      painter.drawArc(QRectF(2, 4, 12, 9), 0, 180 * 16);
      painter.drawArc(QRectF(2, 3, 12, 9), 180 * 16, 180 * 16);
      painter.drawLine(QPointF(3, 13), QPointF(13, 3));
      break;
    case SmallShape::kStop:
      painter.setPen(Qt::NoPen);
      painter.setBrush(colour);
      painter.drawRect(QRectF(3, 3, 10, 10));
      break;
    case SmallShape::kGlobe:
      painter.drawEllipse(QRectF(2, 2, 12, 12));
      painter.drawEllipse(QRectF(5, 2, 6, 12));
      painter.drawLine(QPointF(2, 8), QPointF(14, 8));
      break;
    case SmallShape::kSquare:
      painter.setBrush(colour.lighter(150));
      painter.drawRect(QRectF(3.5, 3.5, 9, 9));
      break;
    case SmallShape::kDiamond:
      painter.setBrush(colour.lighter(150));
      painter.drawPolygon(QPolygonF(
          {QPointF(8, 2), QPointF(14, 8), QPointF(8, 14), QPointF(2, 8)}));
      break;
    case SmallShape::kTriangle:
      painter.setBrush(colour.lighter(150));
      painter.drawPolygon(
          QPolygonF({QPointF(8, 3), QPointF(14, 13), QPointF(2, 13)}));
      break;
    case SmallShape::kRing:
      painter.drawEllipse(QRectF(3, 3, 10, 10));
      break;
  }
}

QPixmap DrawSmallImage(int index) {
  QPixmap pixmap(kSmallImageSize, kSmallImageSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const SmallImage image = SmallImageAt(index);
  DrawSymbol(painter, image.shape, ToQColor(image.colour));
  return pixmap;
}

}  // namespace

const std::vector<QPixmap>& OrbImageList() {
  static const std::vector<QPixmap> images = [] {
    std::vector<QPixmap> list;
    list.reserve(kSmallImageCount);
    for (int index = 0; index < kSmallImageCount; ++index) {
      list.push_back(DrawSmallImage(index));
    }
    return list;
  }();
  return images;
}

QIcon OrbImage(int index) {
  const auto& images = OrbImageList();
  if (index < 0 || index >= static_cast<int>(images.size())) return {};
  return QIcon(images[static_cast<size_t>(index)]);
}

}  // namespace vigil
