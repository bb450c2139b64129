#include "qt/value_look.h"

#include <QFont>
#include <QPalette>
#include <QWidget>

namespace varnock::qt {

void ApplyValueColours(QWidget* widget) {
  QPalette palette = widget->palette();
  const QColor text(0, 255, 0);
  const QColor back(0, 64, 0);
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::WindowText, text);
    palette.setColor(group, QPalette::Text, text);
    palette.setColor(group, QPalette::Window, back);
    palette.setColor(group, QPalette::Base, back);
  }
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

QFont CourierFont() {
  QFont font(QStringLiteral("Courier"));
  font.setPointSizeF(9.75);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  return font;
}

}  // namespace varnock::qt
