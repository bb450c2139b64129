#include "qt/accessible_value.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QVariant>
#include <QWidget>

namespace varnock::qt {

namespace {

constexpr const char* kValueProperty = "varnockAccessibleValue";
constexpr const char* kWindowProperty = "varnockAccessibleWindow";

// A read-only text: the whole value, whatever part of it the label shows.
class ValueAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit ValueAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::StaticText) {}

  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Value ? Value() : QAccessibleWidget::text(t);
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this)
                                              : QAccessibleWidget::interface_cast(type);
  }

  QString text(int startOffset, int endOffset) const override {
    return Value().mid(startOffset, endOffset - startOffset);
  }
  int characterCount() const override { return static_cast<int>(Value().size()); }
  void selection(int /*selectionIndex*/, int* startOffset, int* endOffset) const override {
    *startOffset = 0;
    *endOffset = 0;
  }
  int selectionCount() const override { return 0; }
  void addSelection(int /*startOffset*/, int /*endOffset*/) override {}
  void removeSelection(int /*selectionIndex*/) override {}
  void setSelection(int /*selectionIndex*/, int /*startOffset*/, int /*endOffset*/) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int /*position*/) override {}
  QRect characterRect(int /*offset*/) const override { return {}; }
  int offsetAtPoint(const QPoint& /*point*/) const override { return -1; }
  void scrollToSubstring(int /*startIndex*/, int /*endIndex*/) override {}
  QString attributes(int offset, int* startOffset, int* endOffset) const override {
    *startOffset = offset;
    *endOffset = offset;
    return {};
  }

 private:
  QString Value() const { return widget()->property(kValueProperty).toString(); }
};

QAccessibleInterface* MakeAccessible(const QString& /*className*/, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr) {
    return nullptr;
  }
  if (widget->property(kValueProperty).isValid()) {
    return new ValueAccessible(widget);
  }
  if (widget->property(kWindowProperty).toBool()) {
    return new QAccessibleWidget(widget, QAccessible::Window);
  }
  return nullptr;
}

// Qt keeps its factories for the whole run; this one is added once.
void InstallFactory() {
  static const bool installed = [] {
    QAccessible::installFactory(&MakeAccessible);
    return true;
  }();
  static_cast<void>(installed);
}

}  // namespace

void SetAccessibleValue(QWidget* widget, const QString& value) {
  InstallFactory();
  const QString before = widget->property(kValueProperty).toString();
  widget->setProperty(kValueProperty, value);
  QAccessibleTextUpdateEvent changed(widget, 0, before, value);
  QAccessible::updateAccessibility(&changed);
}

void ShowOneLine(QLabel* label, const QString& whole) {
  label->setText(label->fontMetrics().elidedText(whole, Qt::ElideRight, label->width()));
  label->setToolTip(label->text() == whole ? QString() : whole);
  SetAccessibleValue(label, whole);
}

void MarkAccessibleWindow(QWidget* window) {
  InstallFactory();
  window->setProperty(kWindowProperty, true);
}

}  // namespace varnock::qt
