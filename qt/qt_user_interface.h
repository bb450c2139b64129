#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/user_interface.h"

namespace varnock::qt {

// Message boxes and the input box as modal Qt dialogs, over the window that is active (the
// picker while it is shown, else the main window).
class QtUserInterface : public UserInterface {
 public:
  // The window the boxes belong to when no other is active; may be set later.
  void SetMainWindow(QWidget* window) { mainWindow_ = window; }

  void ShowMessage(const std::string& text, MessageIcon icon) override;
  std::optional<std::string> AskText(const std::string& prompt, const std::string& title,
                                     const std::string& proposed) override;

 private:
  QWidget* Owner() const;

  QPointer<QWidget> mainWindow_;
};

// CR LF line ends as Qt shows them.
QString ToDisplayText(const std::string& text);

}  // namespace varnock::qt
