#include "asset-gen/image_art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <array>

namespace vigil::asset_gen {
namespace {

// The image face shows them stretched over 155 x 56 and more.
constexpr QSize kImageSize{332, 120};

void Sky(QPainter& painter, QColor top, QColor bottom) {
  QLinearGradient sky(0, 0, 0, kImageSize.height());
  sky.setColorAt(0, top);
  sky.setColorAt(1, bottom);
  painter.fillRect(QRect(QPoint(0, 0), kImageSize), sky);
}

void ServerRack(QPainter& painter) {
  Sky(painter, QColor(210, 225, 240), QColor(120, 140, 170));
  for (int rack = 0; rack < 3; ++rack) {
    const QRectF frame(60 + rack * 75, 12, 62, 100);
    painter.setPen(QPen(QColor(30, 30, 40), 2));
    painter.setBrush(QColor(55, 60, 72));
    painter.drawRoundedRect(frame, 4, 4);
    for (int slot = 0; slot < 6; ++slot) {
      const QRectF unit(frame.left() + 5, frame.top() + 6 + slot * 15.5,
                        frame.width() - 10, 11);
      painter.setPen(Qt::NoPen);
      painter.setBrush(QColor(90, 96, 110));
      painter.drawRect(unit);
      const bool busy = (rack + slot) % 3 == 0;
      painter.setBrush(busy ? QColor(250, 190, 40) : QColor(60, 220, 90));
      painter.drawEllipse(QPointF(unit.right() - 6, unit.center().y()), 2.5,
                          2.5);
      painter.setBrush(QColor(40, 44, 52));
      painter.drawRect(QRectF(unit.left() + 4, unit.top() + 4, 22, 3));
    }
  }
}

void Disk(QPainter& painter) {
  Sky(painter, QColor(235, 235, 225), QColor(170, 165, 150));
  const QRectF body(96, 10, 140, 100);
  painter.setPen(QPen(QColor(60, 60, 60), 2));
  painter.setBrush(QColor(150, 155, 160));
  painter.drawRoundedRect(body, 8, 8);
  const QPointF centre(150, 60);
  QRadialGradient platter(centre - QPointF(12, 12), 48);
  platter.setColorAt(0, QColor(250, 250, 255));
  platter.setColorAt(1, QColor(120, 125, 140));
  painter.setBrush(platter);
  painter.drawEllipse(centre, 42, 42);
  painter.setBrush(QColor(70, 70, 75));
  painter.drawEllipse(centre, 7, 7);
  painter.setPen(QPen(QColor(40, 40, 40), 5, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(222, 98), QPointF(170, 40));
  painter.setBrush(QColor(200, 60, 50));
  painter.setPen(Qt::NoPen);
  painter.drawEllipse(QPointF(222, 98), 6, 6);
}

void Network(QPainter& painter) {
  Sky(painter, QColor(225, 240, 235), QColor(120, 170, 160));
  const std::array<QPointF, 6> nodes = {QPointF(60, 30),  QPointF(130, 85),
                                        QPointF(170, 28), QPointF(230, 80),
                                        QPointF(280, 32), QPointF(95, 100)};
  const std::array<std::pair<int, int>, 8> links = {
      {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {1, 3}, {0, 5}, {5, 1}, {2, 4}}};
  painter.setPen(QPen(QColor(30, 90, 90), 3));
  for (const auto& [from, to] : links) painter.drawLine(nodes[from], nodes[to]);
  for (size_t i = 0; i < nodes.size(); ++i) {
    painter.setPen(QPen(QColor(20, 60, 60), 2));
    painter.setBrush(i == 1 ? QColor(240, 200, 60) : QColor(250, 250, 250));
    painter.drawEllipse(nodes[i], 11, 11);
  }
}

void Chip(QPainter& painter) {
  Sky(painter, QColor(235, 230, 245), QColor(150, 140, 180));
  const QRectF chip(126, 20, 80, 80);
  painter.setPen(QPen(QColor(190, 160, 60), 4));
  for (int pin = 0; pin < 6; ++pin) {
    const double at = chip.top() + 10 + pin * 12;
    painter.drawLine(QPointF(chip.left() - 12, at), QPointF(chip.left(), at));
    painter.drawLine(QPointF(chip.right(), at), QPointF(chip.right() + 12, at));
    const double across = chip.left() + 10 + pin * 12;
    painter.drawLine(QPointF(across, chip.top() - 12),
                     QPointF(across, chip.top()));
    painter.drawLine(QPointF(across, chip.bottom()),
                     QPointF(across, chip.bottom() + 12));
  }
  painter.setPen(QPen(QColor(20, 20, 25), 2));
  painter.setBrush(QColor(45, 45, 55));
  painter.drawRoundedRect(chip, 6, 6);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(90, 90, 110));
  painter.drawRoundedRect(chip.adjusted(18, 18, -18, -18), 3, 3);
}

}  // namespace

QImage DrawImage(int number) {
  QImage image(kImageSize, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  switch (number % kImageCount) {
    case 0:
      ServerRack(painter);
      break;
    case 1:
      Disk(painter);
      break;
    case 2:
      Network(painter);
      break;
    default:
      Chip(painter);
      break;
  }
  return image;
}

}  // namespace vigil::asset_gen
