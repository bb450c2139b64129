#pragma once

#include <QRect>

class QWidget;

namespace varnock::qt {

// The window designs are measured in twips: 1440 to the inch, so 15 to a pixel at 96 dots per
// inch. Sizes follow the screen's logical resolution, as the fonts measured in points do.
int Twips(int twips, const QWidget* widget);
// A distance across the window: a window whose captions do not fit in the user's language is
// wider than its design, by the stretch it was given (1 when every caption fits).
int TwipsAcross(int twips, const QWidget* window);
double HorizontalStretch(const QWidget* window);
void SetHorizontalStretch(QWidget* window, double stretch);
QRect TwipsRect(int left, int top, int width, int height, const QWidget* widget);
// Places `widget` by its design rectangle, measured on its window.
void PlaceByTwips(QWidget* widget, int left, int top, int width, int height);

}  // namespace varnock::qt
