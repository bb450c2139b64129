#pragma once

#include "app/window_stretch.h"

class QLabel;
class QPushButton;
class QWidget;

namespace varnock::qt {

// The window's controls keep the sizes of their design, which was measured for a narrow
// dialog font; a wider face could cut a caption. These shrink the caption's font, a quarter
// point at a time from `points` and never below 6.5 points, until the whole caption fits.
void FitCaption(QLabel* label, double points);
void FitCaption(QPushButton* button, double points);

// A button's, check box's or label's caption at its font now, and the room the widget gives it;
// nothing needed for other widgets.
CaptionMeasure MeasureCaption(const QWidget* widget);

}  // namespace varnock::qt
