// The GUI tests run on Qt's offscreen platform unless another is asked for.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>

#include "qt/qt_translations.h"

namespace {

// A modal window that stays open ten seconds with nobody answering it fails the test and is
// closed, so that a box the test did not expect ends the test instead of hanging the run.
class ModalWatchdog : public ::testing::EmptyTestEventListener {
 public:
  ModalWatchdog() {
    timer_.setInterval(250);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Check(); });
  }
  void OnTestStart(const ::testing::TestInfo&) override {
    watched_ = nullptr;
    timer_.start();
  }
  void OnTestEnd(const ::testing::TestInfo&) override { timer_.stop(); }

 private:
  void Check() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != watched_) {
      watched_ = modal;
      since_.start();
    } else if (modal != nullptr && since_.hasExpired(10000)) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      ADD_FAILURE() << "a modal window nobody answered: " << modal->objectName().toStdString()
                    << (box != nullptr ? ": " + box->text().toStdString() : std::string());
      auto* dialog = qobject_cast<QDialog*>(modal);
      dialog != nullptr ? dialog->reject() : static_cast<void>(modal->close());
    }
  }

  QTimer timer_;
  QPointer<QWidget> watched_;
  QElapsedTimer since_;
};

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QTemporaryDir runtime;  // a private runtime folder (made for the owner alone) keeps Qt quiet
  if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR") && runtime.isValid()) {
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
  }
  QTemporaryDir data;  // the history and settings of the tests' runs, none of the user's
  if (data.isValid()) {
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
  }
  QApplication application(argc, argv);
  varnock::qt::UseQtTranslations(application);
  ::testing::InitGoogleTest(&argc, argv);
  ModalWatchdog watchdog;
  ::testing::TestEventListeners& listeners = ::testing::UnitTest::GetInstance()->listeners();
  listeners.Append(&watchdog);
  const int result = RUN_ALL_TESTS();
  listeners.Release(&watchdog);
  return result;
}
