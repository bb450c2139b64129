#include "qt/elide_path.h"

#include <QFontMetrics>
#include <algorithm>

namespace varnock::qt {

QString ElidePath(const QString& text, const QFontMetrics& metrics, int width) {
  if (metrics.horizontalAdvance(text) <= width) {
    return text;
  }
  const qsizetype cut =
      std::max(text.lastIndexOf(QLatin1Char('/')), text.lastIndexOf(QLatin1Char('\\')));
  const QString name = cut < 0 ? QString() : text.mid(cut);
  const int room = width - metrics.horizontalAdvance(name);
  if (cut <= 0 || room < metrics.horizontalAdvance(QString(QChar(0x2026)) + text.left(1))) {
    return metrics.elidedText(text, Qt::ElideMiddle, width);
  }
  return metrics.elidedText(text.left(cut), Qt::ElideRight, room) + name;
}

}  // namespace varnock::qt
