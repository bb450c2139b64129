#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace varnock::qt {

// A label that shows a value (a path, a version, the status line) tells assistive technology
// its name and its whole value as text, though what it shows may be shortened. Call it first
// before the widget is ever shown or asked about, and again for every new value.
void SetAccessibleValue(QWidget* widget, const QString& value);

// Shows `whole` on one line of `label`: what does not fit ends in "…", and the whole line is in
// the tooltip and is the label's accessible value.
void ShowOneLine(QLabel* label, const QString& whole);

// A top-level window of the program is a window to assistive technology, not a mere filler.
void MarkAccessibleWindow(QWidget* window);

}  // namespace varnock::qt
