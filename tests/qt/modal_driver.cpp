#include "tests/qt/modal_driver.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

namespace varnock::testing {

namespace {

constexpr int kTickMs = 10;
constexpr int kPatienceTicks = 300;  // three seconds for a window nobody expects

}  // namespace

ModalDriver::ModalDriver() {
  QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
  timer_.start(kTickMs);
}

ModalDriver::~ModalDriver() {
  timer_.stop();
}

void ModalDriver::Then(const QString& name, Step step) {
  steps_.emplace_back(name, std::move(step));
}

void ModalDriver::AnswerMessage() {
  Then(QStringLiteral("MessageBox"), [this](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    messages.push_back({box->text().toStdString(), box->icon() == QMessageBox::Critical});
    box->button(QMessageBox::Ok)->click();
  });
}

void ModalDriver::AnswerInput(const QString& text, bool cancel) {
  Then(QStringLiteral("InputBox"), [text, cancel](QWidget* modal) {
    auto* box = qobject_cast<QInputDialog*>(modal);
    box->setTextValue(text);
    if (cancel) {
      box->reject();
    } else {
      box->accept();
    }
  });
}

void ModalDriver::Tick() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr || !modal->isVisible()) {
    waitedTicks_ = 0;
    return;
  }
  // A step still at work on this window (it opened another one over it) is left to finish.
  if (std::find(busy_.begin(), busy_.end(), modal) != busy_.end()) {
    return;
  }
  if (!steps_.empty() && steps_.front().first == modal->objectName()) {
    auto step = std::move(steps_.front().second);
    steps_.pop_front();
    waitedTicks_ = 0;
    // The step runs outside this tick: a modal window it opens runs a loop of its own, in
    // which the timer has to go on ticking.
    busy_.push_back(modal);
    QPointer<QWidget> target(modal);
    QTimer::singleShot(0, [this, step = std::move(step), target, modal] {
      if (target) {
        step(target);
      }
      busy_.erase(std::find(busy_.begin(), busy_.end(), modal));
    });
    return;
  }
  if (waiting_ != modal) {
    waiting_ = modal;
    waitedTicks_ = 0;
  }
  if (++waitedTicks_ > kPatienceTicks) {
    const auto* box = qobject_cast<QMessageBox*>(modal);
    unexpected.push_back(modal->objectName().toStdString() + ": " +
                         (box != nullptr ? box->text() : modal->windowTitle()).toStdString());
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
    } else {
      modal->close();
    }
    waitedTicks_ = 0;
  }
}

}  // namespace varnock::testing
