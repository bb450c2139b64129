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
// window of its name ("MessageBox", "Dialog_GetFileODir") to be active and acts on it. A modal
// window that no step expects stays open until the test's time runs out, so it fails the test.
class ModalDriver {
 public:
  using Step = std::function<void(QWidget* modal)>;

  ModalDriver();
  ModalDriver(const ModalDriver&) = delete;
  ModalDriver& operator=(const ModalDriver&) = delete;

  void Then(const QString& name, Step step);
  // Records the message box's text and icon, then presses its OK button.
  void AnswerMessage();
  bool Done() const { return steps_.empty(); }

  struct Message {
    std::string text;
    bool critical = false;
  };
  std::vector<Message> messages;

 private:
  void Tick();

  QTimer timer_;
  std::deque<std::pair<QString, Step>> steps_;
  std::vector<QWidget*> busy_;  // windows a running step acts on
};

}  // namespace varnock::testing
