#include "win32/modal_loop.h"

namespace varnock::win32 {

void RunMessageLoop(HWND window, HACCEL keys) {
  MSG message{};
  while (IsWindow(window)) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      // The program is ending: leave the quit request for the outermost loop.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (got < 0) {
      return;
    }
    if (keys != nullptr && TranslateAcceleratorW(window, keys, &message)) {
      continue;
    }
    if (!IsDialogMessageW(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

void RunModal(HWND window, HACCEL keys) {
  HWND owner = GetWindow(window, GW_OWNER);
  const bool disabled = owner != nullptr && IsWindowEnabled(owner);
  if (disabled) {
    EnableWindow(owner, FALSE);
  }
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  RunMessageLoop(window, keys);
  if (IsWindow(window)) {
    EndModal(window);
  }
  if (disabled && IsWindow(owner)) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
}

void EndModal(HWND window) {
  HWND owner = GetWindow(window, GW_OWNER);
  if (owner != nullptr) {
    EnableWindow(owner, TRUE);
  }
  DestroyWindow(window);
}

}  // namespace varnock::win32
