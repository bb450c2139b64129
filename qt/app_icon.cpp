#include "qt/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace varnock::qt {

namespace {

QPixmap DrawIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 32.0, size / 32.0);

  // The plate: dark green with a bright rim.
  painter.setPen(QPen(QColor(0, 255, 0), 1.5));
  painter.setBrush(QColor(0, 64, 0));
  painter.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 5, 5);

  // The letter.
  QPainterPath letter;
  letter.moveTo(7, 7);
  letter.lineTo(16, 26);
  letter.lineTo(25, 7);
  painter.setPen(QPen(QColor(0, 255, 0), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(letter);

  // The patch: a red square stitched over the top right corner.
  painter.translate(24, 8);
  painter.rotate(20);
  painter.setPen(QPen(QColor(255, 255, 255), 1));
  painter.setBrush(QColor(220, 0, 0));
  painter.drawRect(QRectF(-5, -5, 10, 10));
  painter.setPen(QPen(QColor(255, 255, 255), 1, Qt::DotLine));
  painter.drawRect(QRectF(-3, -3, 6, 6));
  return pixmap;
}

}  // namespace

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128}) {
    icon.addPixmap(DrawIcon(size));
  }
  return icon;
}

}  // namespace varnock::qt
