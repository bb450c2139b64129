#pragma once

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace varnock::testing {

// Answers the modal windows a click opens, as a user would: each queued step waits for a modal
// window of its name ("MessageBox", "InputBox", "Dialog_GetFileODir") to be active and acts on
// it. A modal window that no step expects is closed after a while and reported, so a broken
// test fails instead of hanging.
class ModalDriver {
 public:
  using Step = std::function<void(QWidget* modal)>;

  ModalDriver();
  ~ModalDriver();
  ModalDriver(const ModalDriver&) = delete;
  ModalDriver& operator=(const ModalDriver&) = delete;

  void Then(const QString& name, Step step);
  // Records the message box's text and icon, then presses its OK button.
  void AnswerMessage();
  // Types `text` into the input box and presses OK (or Cancel when `cancel`).
  void AnswerInput(const QString& text, bool cancel = false);

  bool Done() const { return steps_.empty(); }

  struct Message {
    std::string text;
    bool critical = false;
  };
  std::vector<Message> messages;
  std::vector<std::string> unexpected;  // texts of modal windows nobody expected

 private:
  void Tick();

  QTimer timer_;
  std::deque<std::pair<QString, Step>> steps_;
  QPointer<QWidget> waiting_;
  std::vector<QWidget*> busy_;  // windows a running step acts on
  int waitedTicks_ = 0;
};

}  // namespace varnock::testing
