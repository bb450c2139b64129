#include "tests/qt/modal_driver.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

namespace varnock::testing {

ModalDriver::ModalDriver() {
  QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
  timer_.start(10);
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

void ModalDriver::Tick() {
  QWidget* modal = QApplication::activeModalWidget();
  // A step still at work on this window (it opened another one over it) is left to finish.
  if (modal == nullptr || !modal->isVisible() || steps_.empty() ||
      steps_.front().first != modal->objectName() ||
      std::find(busy_.begin(), busy_.end(), modal) != busy_.end()) {
    return;
  }
  auto step = std::move(steps_.front().second);
  steps_.pop_front();
  // The step runs outside this tick: a modal window it opens runs a loop of its own, in which
  // the timer has to go on ticking.
  busy_.push_back(modal);
  QTimer::singleShot(0, [this, step = std::move(step), target = QPointer<QWidget>(modal), modal] {
    if (target) {
      step(target);
    }
    busy_.erase(std::find(busy_.begin(), busy_.end(), modal));
  });
}

}  // namespace varnock::testing
