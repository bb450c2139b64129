// varnock_window_probe: waits (at most 30 s) until Varnock's main window is shown, prints the
// patch chosen in it, and closes it as its close box would. The installer test starts Varnock
// through the .ptc file type and checks with it that the patch opened is the one chosen.

#include <windows.h>

#include <cstdio>

#include "win32/control_ids.h"

int main() {
  using namespace varnock::win32;
  HWND window = nullptr;
  for (int tries = 0; tries < 300; ++tries, Sleep(100)) {
    window = FindWindowW(kMainWindowClass, nullptr);
    if (window != nullptr && IsWindowVisible(window)) {
      char patch[MAX_PATH] = "";
      GetDlgItemTextA(window, kComboPatch, patch, MAX_PATH);
      std::printf("%s\n", patch);
      PostMessageW(window, WM_CLOSE, 0, 0);
      return 0;
    }
  }
  std::fputs("varnock_window_probe: no Varnock window was shown\n", stderr);
  return 1;
}
