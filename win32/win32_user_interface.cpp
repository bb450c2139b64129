#include "win32/win32_user_interface.h"

#include <windows.h>

#include "win32/input_box.h"
#include "win32/text.h"

namespace varnock::win32 {

namespace {

// The title of every message box: the program's name.
constexpr wchar_t kMessageTitle[] = L"Varnock";

}  // namespace

void Win32UserInterface::ShowMessage(const std::string& text, MessageIcon icon) {
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
  std::optional<std::string> answer = RunInputBox(GetActiveWindow(), prompt, title, proposed);
  if (answer && answer->empty()) {
    return std::nullopt;
  }
  return answer;
}

}  // namespace varnock::win32
