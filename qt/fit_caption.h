#pragma once

class QLabel;
class QPushButton;
class QWidget;

namespace varnock::qt {

// The window's controls keep the sizes of their design, which was measured for a narrow
// dialog font; a wider face could cut a caption. These shrink the caption's font, a quarter
// point at a time from `points` and never below 6.5 points, until the whole caption fits.
void FitCaption(QLabel* label, double points);
void FitCaption(QPushButton* button, double points);

// How many times wider than its room a widget's caption is at its font now: above 1 when even
// the smallest font does not fit it.
double CaptionOverflow(const QWidget* widget);

}  // namespace varnock::qt
