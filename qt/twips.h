#pragma once

#include <QRect>

class QWidget;

namespace varnock::qt {

// The window designs are measured in twips: 1440 to the inch, so 15 to a pixel at 96 dots per
// inch. Sizes follow the screen's logical resolution, as the fonts measured in points do.
int Twips(int twips, const QWidget* widget);
QRect TwipsRect(int left, int top, int width, int height, const QWidget* widget);
// Places `widget` by its design rectangle, measured on its window.
void PlaceByTwips(QWidget* widget, int left, int top, int width, int height);

}  // namespace varnock::qt
