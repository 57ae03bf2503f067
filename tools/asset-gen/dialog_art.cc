#include "asset-gen/dialog_art.h"

#include <QLinearGradient>
#include <QPainter>

namespace vigil::asset_gen {

QImage DrawDialogBackground() {
  constexpr int kWidth = 380;
  constexpr int kHeight = 236;
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient surface(0, 0, 0, kHeight);
  surface.setColorAt(0, QColor(236, 240, 244));
  surface.setColorAt(1, QColor(204, 212, 222));
  painter.fillRect(image.rect(), surface);
  // Faint arcs in the lower right, like the dials the orbs show: light
  // enough that black captions stay easy to read on them.
  painter.setPen(QPen(QColor(188, 198, 210), 2));
  for (int radius = 60; radius <= 180; radius += 30) {
    painter.drawEllipse(QPoint(kWidth + 20, kHeight + 30), radius, radius);
  }
  return image;
}

}  // namespace vigil::asset_gen
