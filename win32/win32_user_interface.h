#pragma once

#include "ui/user_interface.h"

namespace varnock::win32 {

// Message boxes and the input box as modal windows over the thread's active window (the
// picker while it is shown, else the main window; none before the main window appears).
class Win32UserInterface : public UserInterface {
 public:
  void ShowMessage(const std::string& text, MessageIcon icon) override;
  std::optional<std::string> AskText(const std::string& prompt, const std::string& title,
                                     const std::string& proposed) override;
};

}  // namespace varnock::win32
