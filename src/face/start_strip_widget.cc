#include "face/start_strip_widget.h"

#include <QLinearGradient>
#include <QPainter>

#include "face/widget_helpers_widget.h"

namespace vigil {

StartStripWidget::StartStripWidget(QWidget* parent) : QWidget(parent) {
  setObjectName("Image");
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void StartStripWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QLinearGradient shade(0, 0, 0, height());
  shade.setColorAt(0, QColor(250, 252, 255));
  shade.setColorAt(1, QColor(200, 222, 226));
  painter.fillRect(rect(), shade);
  painter.setPen(ToQColor(kTeal));
  painter.drawLine(0, height() - 1, width(), height() - 1);
}

}  // namespace vigil
