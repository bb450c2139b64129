#include "qt/twips.h"

#include <QWidget>
#include <cmath>

namespace varnock::qt {

int Twips(int twips, const QWidget* widget) {
  const double dpi = widget != nullptr ? widget->logicalDpiY() : 96.0;
  return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

QRect TwipsRect(int left, int top, int width, int height, const QWidget* widget) {
  // Edges are rounded, not sizes: neighbours that touch in the design still touch.
  const int x0 = Twips(left, widget);
  const int y0 = Twips(top, widget);
  return QRect(x0, y0, Twips(left + width, widget) - x0, Twips(top + height, widget) - y0);
}

void PlaceByTwips(QWidget* widget, int left, int top, int width, int height) {
  widget->setGeometry(TwipsRect(left, top, width, height, widget->window()));
}

}  // namespace varnock::qt
