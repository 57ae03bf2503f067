#include "asset-gen/pointer_art.h"

#include <QPainter>
#include <QPolygonF>
#include <cmath>

#include "asset-gen/scale_geometry.h"

namespace vigil::asset_gen {
namespace {

QPointF InPointer(QPointF dial_point) { return dial_point - kPointerOrigin; }

}  // namespace

const std::array<PointerStyle, 3>& PointerStyles() {
  static const std::array<PointerStyle, 3> styles = {{
      {"Point", QColor(230, 40, 30), QColor(240, 240, 240)},
      {"PtBlk", QColor(20, 20, 20), QColor(200, 30, 30)},
      {"PtGry", QColor(150, 150, 150), QColor(110, 110, 110)},
  }};
  return styles;
}

const std::array<int, 11>& PointerParts() {
  static const std::array<int, 11> parts = {0,  10, 20, 30, 40, 50,
                                            60, 70, 80, 90, 99};
  return parts;
}

QImage DrawPointer(const PointerStyle& style, int part) {
  QImage pointer(kPointerSize, QImage::Format_RGB32);
  pointer.fill(kSeeThrough);
  QPainter painter(&pointer);
  painter.setRenderHint(QPainter::Antialiasing, false);
  // "99" stands for the full scale.
  const double percent = part >= 99 ? 100 : part;
  const QPointF pivot = InPointer(kPivot);
  const QPointF tip = InPointer(ScalePoint(percent, 0.9));
  const QPointF along = tip - pivot;
  const double length = std::hypot(along.x(), along.y());
  const QPointF tail = pivot - along / length * 10;
  const QPointF across(-along.y() / length * 3.5, along.x() / length * 3.5);
  painter.setPen(Qt::NoPen);
  painter.setBrush(style.needle);
  painter.drawPolygon(QPolygonF({tail + across, tip, tail - across}));
  painter.setBrush(style.hub);
  painter.drawEllipse(pivot, 7, 7);
  painter.setBrush(style.needle);
  painter.drawEllipse(pivot, 3, 3);
  return pointer;
}

}  // namespace vigil::asset_gen
