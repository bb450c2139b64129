#include "qt/qt_settings.h"

namespace varnock::qt {

QtSettings::QtSettings()
    : settings_(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Varnock"),
                QStringLiteral("Varnock")) {}

std::string QtSettings::Read(const std::string& name) const {
  return settings_.value(QString::fromStdString(name)).toString().toStdString();
}

void QtSettings::Write(const std::string& name, const std::string& value) {
  settings_.setValue(QString::fromStdString(name), QString::fromStdString(value));
  // Kept at once: a run that ends abruptly still leaves its choices to the next.
  settings_.sync();
}

}  // namespace varnock::qt
