#include "face/orb_image_list_widget.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <array>

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

// Each symbol starts with a round pen of its colour and no fill.
using SymbolPainter = void (*)(QPainter& painter, const QColor& colour);

void DrawStarDot(QPainter& painter, const QColor& colour) {
  DrawDot(painter, colour);
  painter.setPen(QPen(Qt::black, 1.2));
  painter.drawLine(QPointF(8, 5), QPointF(8, 11));
  painter.drawLine(QPointF(5.4, 6.5), QPointF(10.6, 9.5));
  painter.drawLine(QPointF(5.4, 9.5), QPointF(10.6, 6.5));
}

void DrawRingDot(QPainter& painter, const QColor& colour) {
  painter.setPen(QPen(colour.darker(170), 1.4));
  painter.drawEllipse(QRectF(1, 1, 14, 14));
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  painter.drawEllipse(QRectF(4, 4, 8, 8));
}

void DrawCross(QPainter& painter, const QColor& colour) {
  painter.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(4, 4), QPointF(12, 12));
  painter.drawLine(QPointF(12, 4), QPointF(4, 12));
}

void DrawLines(QPainter& painter, const QColor&) {
  for (int y : {4, 8, 12}) painter.drawLine(QPointF(3, y), QPointF(13, y));
}

void DrawBars(QPainter& painter, const QColor& colour) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  painter.drawRect(QRectF(2, 9, 3, 5));
  painter.drawRect(QRectF(6.5, 4, 3, 10));
  painter.drawRect(QRectF(11, 7, 3, 7));
}

void DrawGauge(QPainter& painter, const QColor&) {
  painter.drawArc(QRectF(2, 3, 12, 12), 0, 180 * 16);
  painter.drawLine(QPointF(8, 9), QPointF(11, 5));
}

void DrawPicture(QPainter& painter, const QColor&) {
  painter.drawRect(QRectF(2, 3, 12, 10));
  painter.drawPolyline(QPolygonF(
      {QPointF(3, 12), QPointF(7, 7), QPointF(10, 10), QPointF(13, 6)}));
}

void DrawTitle(QPainter& painter, const QColor&) {
  painter.drawLine(QPointF(3, 4), QPointF(13, 4));
  painter.drawLine(QPointF(8, 4), QPointF(8, 13));
}

void DrawSign(QPainter& painter, const QColor& fill) {
  painter.setBrush(fill);
  painter.drawPolygon(
      QPolygonF({QPointF(8, 2), QPointF(14.5, 14), QPointF(1.5, 14)}));
  painter.drawLine(QPointF(8, 6), QPointF(8, 10));
  painter.drawPoint(QPointF(8, 12.2));
}

void DrawWarning(QPainter& painter, const QColor&) {
  DrawSign(painter, QColor(Qt::yellow));
}

void DrawAlert(QPainter& painter, const QColor&) {
  DrawSign(painter, QColor(Qt::red));
}

void DrawSettings(QPainter& painter, const QColor&) {
  painter.drawEllipse(QRectF(4, 4, 8, 8));
  for (int i = 0; i < 4; ++i) {
    painter.save();
    painter.translate(8, 8);
    painter.rotate(45.0 * i);
    painter.drawLine(QPointF(-7, 0), QPointF(7, 0));
    painter.restore();
  }
}

void DrawPause(QPainter& painter, const QColor& colour) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  painter.drawRect(QRectF(4, 3, 3, 10));
  painter.drawRect(QRectF(9, 3, 3, 10));
}

void DrawPlay(QPainter& painter, const QColor& colour) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  painter.drawPolygon(
      QPolygonF({QPointF(4, 3), QPointF(13, 8), QPointF(4, 13)}));
}

void DrawHide(QPainter& painter, const QColor&) {
  painter.drawArc(QRectF(2, 4, 12, 9), 0, 180 * 16);
  painter.drawArc(QRectF(2, 3, 12, 9), 180 * 16, 180 * 16);
  painter.drawLine(QPointF(3, 13), QPointF(13, 3));
}

void DrawStop(QPainter& painter, const QColor& colour) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  painter.drawRect(QRectF(3, 3, 10, 10));
}

void DrawGlobe(QPainter& painter, const QColor&) {
  painter.drawEllipse(QRectF(2, 2, 12, 12));
  painter.drawEllipse(QRectF(5, 2, 6, 12));
  painter.drawLine(QPointF(2, 8), QPointF(14, 8));
}

void DrawSquare(QPainter& painter, const QColor& colour) {
  painter.setBrush(colour.lighter(150));
  painter.drawRect(QRectF(3.5, 3.5, 9, 9));
}

void DrawDiamond(QPainter& painter, const QColor& colour) {
  painter.setBrush(colour.lighter(150));
  painter.drawPolygon(QPolygonF(
      {QPointF(8, 2), QPointF(14, 8), QPointF(8, 14), QPointF(2, 8)}));
}

void DrawTriangle(QPainter& painter, const QColor& colour) {
  painter.setBrush(colour.lighter(150));
  painter.drawPolygon(
      QPolygonF({QPointF(8, 3), QPointF(14, 13), QPointF(2, 13)}));
}

void DrawRing(QPainter& painter, const QColor&) {
  painter.drawEllipse(QRectF(3, 3, 10, 10));
}

SymbolPainter PainterOf(SmallShape shape) {
  switch (shape) {
    case SmallShape::kDot:
      return DrawDot;
    case SmallShape::kStarDot:
      return DrawStarDot;
    case SmallShape::kRingDot:
      return DrawRingDot;
    case SmallShape::kCross:
      return DrawCross;
    case SmallShape::kChannel:
    case SmallShape::kListing:
      return DrawLines;
    case SmallShape::kBars:
      return DrawBars;
    case SmallShape::kGauge:
      return DrawGauge;
    case SmallShape::kPicture:
      return DrawPicture;
    case SmallShape::kTitle:
      return DrawTitle;
    case SmallShape::kWarning:
      return DrawWarning;
    case SmallShape::kAlert:
      return DrawAlert;
    case SmallShape::kSettings:
      return DrawSettings;
    case SmallShape::kPause:
      return DrawPause;
    case SmallShape::kPlay:
      return DrawPlay;
    case SmallShape::kHide:
      return DrawHide;
    case SmallShape::kStop:
      return DrawStop;
    case SmallShape::kGlobe:
      return DrawGlobe;
    case SmallShape::kSquare:
      return DrawSquare;
    case SmallShape::kDiamond:
      return DrawDiamond;
    case SmallShape::kTriangle:
      return DrawTriangle;
    case SmallShape::kRing:
      return DrawRing;
  }
  return DrawSquare;
}

void DrawSymbol(QPainter& painter, SmallShape shape, const QColor& colour) {
  painter.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  PainterOf(shape)(painter, colour);
}

// Drawn on an image that is copied when done: an image keeps the paint
// engine it was drawn with, some kilobytes each.
QPixmap DrawSmallImage(int index) {
  QImage drawn(kSmallImageSize, kSmallImageSize,
               QImage::Format_ARGB32_Premultiplied);
  drawn.fill(Qt::transparent);
  {
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::Antialiasing);
    const SmallImage image = SmallImageAt(index);
    DrawSymbol(painter, image.shape, ToQColor(image.colour));
  }
  return QPixmap::fromImage(drawn.copy());
}

}  // namespace

QPixmap OrbImagePixmap(int index) {
  // Each image is drawn when first asked for: an orb shows a few of them.
  static std::array<QPixmap, kSmallImageCount> images;
  if (index < 0 || index >= kSmallImageCount) return {};
  QPixmap& image = images[static_cast<size_t>(index)];
  if (image.isNull()) image = DrawSmallImage(index);
  return image;
}

QIcon OrbImage(int index) {
  const QPixmap image = OrbImagePixmap(index);
  return image.isNull() ? QIcon() : QIcon(image);
}

}  // namespace vigil
