#include "qt/fit_caption.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <functional>

namespace varnock::qt {

namespace {

constexpr double kSmallestPoints = 6.5;
constexpr double kStep = 0.25;

void Fit(QWidget* widget, const QString& caption, double points,
         const std::function<QSize()>& room) {
  QFont font = widget->font();
  font.setPointSizeF(points);
  widget->setFont(font);
  while (font.pointSizeF() - kStep >= kSmallestPoints) {
    const QFontMetrics metrics(font);
    const QSize space = room();
    if (metrics.horizontalAdvance(caption) <= space.width() &&
        metrics.height() <= space.height() + 2) {
      return;
    }
    font.setPointSizeF(font.pointSizeF() - kStep);
    widget->setFont(font);
  }
}

QSize Room(const QLabel* label) {
  const int indent = label->indent() > 0 ? label->indent() : 0;
  const int frame = label->frameWidth();
  return QSize(label->width() - 2 * frame - indent, label->height() - 2 * frame);
}

QSize Room(const QPushButton* button) {
  QStyleOptionButton option;
  option.initFrom(button);
  option.text = button->text();
  return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).size();
}

}  // namespace

void FitCaption(QLabel* label, double points) {
  Fit(label, label->text(), points, [label] { return Room(label); });
}

void FitCaption(QPushButton* button, double points) {
  Fit(button, button->text(), points, [button] { return Room(button); });
}

CaptionMeasure MeasureCaption(const QWidget* widget) {
  QString caption;
  QSize room;
  if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
    caption = QString(button->text()).remove(QLatin1Char('&'));
    room = Room(button);
  } else if (const auto* label = qobject_cast<const QLabel*>(widget)) {
    caption = label->text();
    room = Room(label);
  } else if (const auto* box = qobject_cast<const QCheckBox*>(widget)) {
    caption = QString(box->text()).remove(QLatin1Char('&'));
    QStyleOptionButton option;
    option.initFrom(box);
    room = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box).size();
  } else {
    return {0, 0};
  }
  return {QFontMetrics(widget->font()).horizontalAdvance(caption), room.width()};
}

}  // namespace varnock::qt
