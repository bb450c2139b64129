#include "qt/status_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace varnock::qt {

namespace {

void Draw(QPainter& painter, StatusGroup group, const QRectF& box) {
  switch (group) {
    case StatusGroup::Pending:
      return;
    case StatusGroup::Applied:
      painter.setPen(QPen(QColor(0, 100, 0), 1));
      painter.setBrush(QColor(40, 170, 40));
      painter.drawEllipse(box);
      return;
    case StatusGroup::NotApplied:
      // Filled white, so that the ring shows on the selection's colour too.
      painter.setPen(QPen(QColor(90, 90, 90), box.width() / 6));
      painter.setBrush(Qt::white);
      painter.drawEllipse(box.adjusted(1, 1, -1, -1));
      return;
    case StatusGroup::Unfit: {
      QPainterPath triangle;
      triangle.moveTo(box.center().x(), box.top());
      triangle.lineTo(box.bottomRight());
      triangle.lineTo(box.bottomLeft());
      triangle.closeSubpath();
      painter.setPen(QPen(QColor(150, 80, 0), 1));
      painter.setBrush(QColor(240, 150, 20));
      painter.drawPath(triangle);
      return;
    }
    case StatusGroup::Elsewhere:
      painter.setPen(QPen(QColor(20, 50, 140), 1));
      painter.setBrush(QColor(60, 110, 220));
      painter.drawRect(box.adjusted(1, 1, -1, -1));
      return;
    case StatusGroup::Broken:
      painter.setPen(QPen(QColor(210, 20, 20), box.width() / 4, Qt::SolidLine, Qt::RoundCap));
      painter.drawLine(box.topLeft(), box.bottomRight());
      painter.drawLine(box.topRight(), box.bottomLeft());
      return;
  }
}

}  // namespace

QIcon StatusIcon(StatusGroup group, int size) {
  // Drawn at twice the size, so that it stays sharp on screens that scale.
  QPixmap picture(2 * size, 2 * size);
  picture.fill(Qt::transparent);
  {
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const double margin = size / 4.0;
    Draw(painter, group, QRectF(margin, margin, 2 * size - 2 * margin, 2 * size - 2 * margin));
  }
  picture.setDevicePixelRatio(2.0);
  return QIcon(picture);
}

}  // namespace varnock::qt
