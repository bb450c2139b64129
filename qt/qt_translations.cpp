#include "qt/qt_translations.h"

#include <QCoreApplication>
#include <QTranslator>

#include "support/translation_choice.h"

namespace varnock::qt {

void UseQtTranslations(QCoreApplication& application) {
  const std::string& language = ActiveLanguage();
  if (language.empty()) {
    return;
  }
  auto* translator = new QTranslator(&application);
  if (translator->load(
          QStringLiteral(":/qt-translations/qtbase_%1.qm").arg(QString::fromStdString(language)))) {
    QCoreApplication::installTranslator(translator);
  } else {
    delete translator;
  }
}

}  // namespace varnock::qt
