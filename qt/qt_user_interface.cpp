#include "qt/qt_user_interface.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "support/translation.h"

namespace varnock::qt {

namespace {

// The title of every message box: the program's name.
constexpr const char* kMessageTitle = "Varnock";
constexpr int kInputBoxCharacters = 50;

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
  box.button(QMessageBox::Ok)->setText(QString::fromUtf8(Tr("OK")));
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
  box.setOkButtonText(QString::fromUtf8(Tr("OK")));
  box.setCancelButtonText(QString::fromUtf8(Tr("Cancel")));
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
