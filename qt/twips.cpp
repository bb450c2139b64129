#include "qt/twips.h"

#include <QVariant>
#include <QWidget>
#include <cmath>

namespace varnock::qt {

int Twips(int twips, const QWidget* widget) {
  const double dpi = widget != nullptr ? widget->logicalDpiY() : 96.0;
  return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

namespace {

constexpr const char* kStretchProperty = "varnockHorizontalStretch";

}  // namespace

double HorizontalStretch(const QWidget* window) {
  const QVariant stretch = window != nullptr ? window->property(kStretchProperty) : QVariant();
  return stretch.isValid() ? stretch.toDouble() : 1.0;
}

void SetHorizontalStretch(QWidget* window, double stretch) {
  window->setProperty(kStretchProperty, stretch);
}

int TwipsAcross(int twips, const QWidget* window) {
  return Twips(static_cast<int>(std::lround(twips * HorizontalStretch(window))), window);
}

QRect TwipsRect(int left, int top, int width, int height, const QWidget* widget) {
  // Edges are rounded, not sizes: neighbours that touch in the design still touch.
  const int x0 = TwipsAcross(left, widget);
  const int y0 = Twips(top, widget);
  return QRect(x0, y0, TwipsAcross(left + width, widget) - x0, Twips(top + height, widget) - y0);
}

void PlaceByTwips(QWidget* widget, int left, int top, int width, int height) {
  widget->setGeometry(TwipsRect(left, top, width, height, widget->window()));
}

}  // namespace varnock::qt
