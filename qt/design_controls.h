#pragma once

#include <QString>
#include <QWidget>
#include <span>
#include <string_view>

#include "app/window_stretch.h"

#include "ui/window_design.h"

namespace varnock::qt {

// The design's dialog font; the face is the platform's own.
inline constexpr double kDialogPoints = 8.25;

// Makes every control of `design` in `window`, named, captioned and styled as its kind and font
// say, placed at its box, and chains the focus through them in the design's tab order. The
// window gets the dialog font and the design's client size.
void BuildWindow(QWidget* window, const WindowDesign& design);

// Names each control that a label names for assistive technology: the caption the label shows
// now, without its colon. Again after a label's caption changed.
void NameLabelledControls(QWidget* window, const WindowDesign& design);

// The points a control's caption starts from before it is shrunk to fit.
double DesignPoints(const ControlDesign& control);

// Shrinks the captions of the window's labels and buttons until each fits its control.
void FitCaptions(QWidget* window, const WindowDesign& design);

// Widens the window and its controls in proportion when a caption in the user's language does
// not fit its control at the smallest font, or one of `more` (measured by the window itself) does
// not fit its room; in English, and where everything fits, the window keeps its design's size.
void GrowForCaptions(QWidget* window, const WindowDesign& design,
                     std::span<const CaptionMeasure> more = {});

// The control of the design called `name`.
template <typename Widget>
Widget* DesignControl(const QWidget* window, std::string_view name) {
  return window->findChild<Widget*>(QString::fromLatin1(name.data(), static_cast<int>(name.size())),
                                    Qt::FindDirectChildrenOnly);
}

}  // namespace varnock::qt
