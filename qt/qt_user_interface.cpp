#include "qt/qt_user_interface.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <optional>

#include "support/translation.h"

namespace varnock::qt {

namespace {

// The title of every message box: the program's name.
constexpr const char* kMessageTitle = "Varnock";
constexpr int kInputBoxCharacters = 50;

// A box's button in the user's language; none in English, where Qt's own caption (with its
// access key on some desktops) stays.
std::optional<QString> Translated(const char* english) {
  const char* shown = Tr(english);
  if (shown == english) {
    return std::nullopt;
  }
  return QString::fromUtf8(shown);
}

}  // namespace

QString ToDisplayText(const std::string& text) {
  QString shown = QString::fromStdString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

QWidget* QtUserInterface::Owner() const {
  if (QWidget* modal = QApplication::activeModalWidget()) {
    return modal;
  }
  if (mainWindow_ && mainWindow_->isVisible()) {
    return mainWindow_;
  }
  return nullptr;
}

void QtUserInterface::ShowMessage(const std::string& text, MessageIcon icon) {
  QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
                  QString::fromLatin1(kMessageTitle), ToDisplayText(text), QMessageBox::Ok,
                  Owner());
  box.setObjectName(QStringLiteral("MessageBox"));
  if (const auto ok = Translated("OK")) {
    box.button(QMessageBox::Ok)->setText(*ok);
  }
  box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  box.exec();
}

std::optional<std::string> QtUserInterface::AskText(const std::string& prompt,
                                                    const std::string& title,
                                                    const std::string& proposed) {
  QInputDialog box(Owner());
  box.setObjectName(QStringLiteral("InputBox"));
  box.setWindowTitle(QString::fromStdString(title));
  box.setLabelText(ToDisplayText(prompt));
  box.setTextValue(QString::fromStdString(proposed));
  box.setInputMode(QInputDialog::TextInput);
  if (const auto ok = Translated("OK")) {
    box.setOkButtonText(*ok);
  }
  if (const auto cancel = Translated("Cancel")) {
    box.setCancelButtonText(*cancel);
  }
  // A long prompt wraps in a box about fifty characters wide, which also shows the title whole.
  if (auto* label = box.findChild<QLabel*>()) {
    label->setWordWrap(true);
    label->setFixedWidth(box.fontMetrics().averageCharWidth() * kInputBoxCharacters);
  }
  if (box.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  return box.textValue().toStdString();
}

}  // namespace varnock::qt
