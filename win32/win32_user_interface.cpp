#include "win32/win32_user_interface.h"

#include <windows.h>

#include "win32/input_box.h"
#include "win32/text.h"

namespace varnock::win32 {

namespace {

// The title of every message box: the program's name.
constexpr wchar_t kMessageTitle[] = L"Varnock";

// A box disables its owner, which takes the focus from the owner's control: the control the
// user was in gets it back when the box has closed.
class FocusReturn {
 public:
  FocusReturn() : focus_(GetFocus()) {}
  ~FocusReturn() {
    if (focus_ != nullptr && IsWindow(focus_) && IsWindowEnabled(focus_)) {
      SetFocus(focus_);
    }
  }
  FocusReturn(const FocusReturn&) = delete;
  FocusReturn& operator=(const FocusReturn&) = delete;

 private:
  HWND focus_;
};

}  // namespace

void Win32UserInterface::ShowMessage(const std::string& text, MessageIcon icon) {
  const FocusReturn focus;
  HWND owner = GetActiveWindow();
  UINT style = MB_OK | (icon == MessageIcon::Critical ? MB_ICONERROR : 0);
  if (owner == nullptr) {
    // No window of the program is up yet: the box stops the whole program until it is read.
    style |= MB_TASKMODAL;
  }
  MessageBoxW(owner, Wide(WithCrLf(text)).c_str(), kMessageTitle, style);
}

std::optional<std::string> Win32UserInterface::AskText(const std::string& prompt,
                                                       const std::string& title,
                                                       const std::string& proposed) {
  const FocusReturn focus;
  std::optional<std::string> answer = RunInputBox(GetActiveWindow(), prompt, title, proposed);
  if (answer && answer->empty()) {
    return std::nullopt;
  }
  return answer;
}

}  // namespace varnock::win32
