#pragma once

class QWidget;
class QFont;

namespace varnock::qt {

// Bright green text (0, 255, 0) on dark green (0, 64, 0).
void ApplyValueColours(QWidget* widget);
// Courier at 9.75 points, fixed pitch whatever face stands in for it.
QFont CourierFont();

}  // namespace varnock::qt
