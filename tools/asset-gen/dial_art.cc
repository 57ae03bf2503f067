#include "asset-gen/dial_art.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "asset-gen/scale_geometry.h"

namespace vigil::asset_gen {
namespace {

QPainterPath BandPath(double from, double to, double inner, double outer) {
  QPainterPath path;
  constexpr int kSteps = 40;
  for (int i = 0; i <= kSteps; ++i) {
    const QPointF point = ScalePoint(from + (to - from) * i / kSteps, outer);
    i == 0 ? path.moveTo(point) : path.lineTo(point);
  }
  for (int i = kSteps; i >= 0; --i) {
    path.lineTo(ScalePoint(from + (to - from) * i / kSteps, inner));
  }
  path.closeSubpath();
  return path;
}

}  // namespace

DialStyle DialStyleFor(int gauge_number) {
  const bool dark = gauge_number % 2 == 1;
  switch (gauge_number / 2 % 2) {
    case 0:
      return dark ? DialStyle{true,
                              QColor(70, 78, 92),
                              QColor(24, 28, 36),
                              QColor(235, 235, 235),
                              QColor(60, 200, 90),
                              QColor(250, 210, 40),
                              QColor(235, 60, 50)}
                  : DialStyle{false,
                              QColor(255, 255, 255),
                              QColor(205, 212, 220),
                              QColor(30, 30, 30),
                              QColor(70, 180, 90),
                              QColor(240, 200, 40),
                              QColor(220, 50, 40)};
    default:
      return dark ? DialStyle{true,
                              QColor(20, 90, 100),
                              QColor(5, 30, 40),
                              QColor(220, 245, 245),
                              QColor(90, 200, 230),
                              QColor(120, 120, 250),
                              QColor(250, 80, 160)}
                  : DialStyle{false,
                              QColor(255, 250, 235),
                              QColor(225, 210, 175),
                              QColor(70, 45, 20),
                              QColor(80, 140, 210),
                              QColor(160, 110, 220),
                              QColor(220, 70, 120)};
  }
}

QImage DrawDial(const DialStyle& style) {
  QImage dial(kDialSize, QImage::Format_RGB32);
  QPainter painter(&dial);
  painter.setRenderHint(QPainter::Antialiasing);

  QRadialGradient face(kPivot, kDialSize.width() * 0.6);
  face.setColorAt(0, style.face_inner);
  face.setColorAt(1, style.face_outer);
  painter.fillRect(dial.rect(), face);
  // A rim just inside the edge.
  painter.setPen(QPen(style.ticks, 2));
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(
      QRectF(3, 3, kDialSize.width() - 6, kDialSize.height() - 6), 14, 14);

  painter.setPen(Qt::NoPen);
  painter.setBrush(style.band_low);
  painter.drawPath(BandPath(0, 60, 0.86, 1.0));
  painter.setBrush(style.band_mid);
  painter.drawPath(BandPath(60, 80, 0.86, 1.0));
  painter.setBrush(style.band_high);
  painter.drawPath(BandPath(80, 100, 0.86, 1.0));

  for (int percent = 0; percent <= 100; percent += 5) {
    const bool major = percent % 20 == 0;
    const bool middle = !major && percent % 10 == 0;
    const double inner = major ? 0.72 : middle ? 0.78 : 0.82;
    painter.setPen(
        QPen(style.ticks, major ? 3 : 1.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(ScalePoint(percent, inner), ScalePoint(percent, 1.04));
  }
  QPainterPath arc;
  for (int i = 0; i <= 100; ++i) {
    const QPointF point = ScalePoint(i, 1.04);
    i == 0 ? arc.moveTo(point) : arc.lineTo(point);
  }
  painter.setPen(QPen(style.ticks, 1.5));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(arc);
  return dial;
}

}  // namespace vigil::asset_gen
