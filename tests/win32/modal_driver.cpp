#include "tests/win32/modal_driver.h"

#include <gtest/gtest.h>

#include "win32/control_ids.h"
#include "win32/layout.h"
#include "win32/text.h"

namespace varnock::testing {

namespace {

// A Windows hook carries no data of its own: the driver of the running test is kept here.
thread_local ModalDriver* runningDriver = nullptr;

constexpr UINT kAnswer = WM_APP + 7;
constexpr UINT_PTR kWatchdog = 1;
constexpr UINT kPatience = 10000;  // milliseconds

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

// The modal windows the driver answers: message boxes, the picker, the input box, the Patches
// window and its History window.
bool Driven(HWND window) {
  const std::wstring windowClass = ClassOf(window);
  return windowClass == L"#32770" || windowClass == win32::kPickerClass ||
         windowClass == win32::kInputBoxClass || windowClass == win32::kPatchesWindowClass ||
         windowClass == win32::kHistoryWindowClass;
}

// The file name box of the system's save and open dialogs: a combo box on Windows (cmb13), an
// edit box on Wine (edt1); none in a message box.
HWND FileNameBox(HWND dialog) {
  constexpr int kFileNameCombo = 0x47C;
  constexpr int kFileNameEdit = 0x480;
  HWND box = GetDlgItem(dialog, kFileNameCombo);
  return box != nullptr ? box : GetDlgItem(dialog, kFileNameEdit);
}

}  // namespace

ModalDriver::ModalDriver() {
  runningDriver = this;
  hook_ = SetWindowsHookExW(WH_CBT, &ModalDriver::OnCbt, nullptr, GetCurrentThreadId());
  // A message-only window whose procedure answers the windows and runs the watchdog.
  calls_ =
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  SetWindowLongPtrW(calls_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ModalDriver::OnCall));
  SetTimer(calls_, kWatchdog, kPatience, nullptr);
  EXPECT_NE(hook_, nullptr);
}

ModalDriver::~ModalDriver() {
  DestroyWindow(calls_);
  UnhookWindowsHookEx(hook_);
  runningDriver = nullptr;
}

LRESULT CALLBACK ModalDriver::OnCbt(int code, WPARAM wParam, LPARAM lParam) {
  auto* window = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_ACTIVATE && runningDriver != nullptr && Driven(window)) {
    SetTimer(runningDriver->calls_, kWatchdog, kPatience, nullptr);  // the wait starts again
    // Answered once the window has been filled, shown and activated.
    PostMessageW(runningDriver->calls_, kAnswer, wParam, 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK ModalDriver::OnCall(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ModalDriver* driver = runningDriver;
  auto* opened = reinterpret_cast<HWND>(wParam);
  if (message == kAnswer && driver != nullptr && ClassOf(opened) == L"#32770") {
    HWND fileName = FileNameBox(opened);
    if (fileName != nullptr && !driver->fileNames.empty()) {
      SetWindowTextW(fileName, win32::Wide(driver->fileNames.front()).c_str());
      driver->fileNames.pop_front();
      PostMessageW(opened, WM_COMMAND, IDOK, 0);
    } else if (fileName == nullptr && driver->seen_.insert(opened).second) {
      driver->messages.push_back(win32::WindowText(GetDlgItem(opened, 0xFFFF)));
      PostMessageW(opened, WM_COMMAND, IDOK, 0);
    }
  } else if (message == kAnswer && driver != nullptr && !driver->steps_.empty() &&
             driver->steps_.front().first == ClassOf(opened)) {
    const Step step = std::move(driver->steps_.front().second);
    driver->steps_.pop_front();
    step(opened);
  }
  // A modal window left open ends the test's wait instead of its time limit.
  HWND open = message == WM_TIMER ? GetActiveWindow() : nullptr;
  if (open != nullptr && Driven(open)) {
    ADD_FAILURE() << "a window was left open: " << win32::WindowText(open);
    PostMessageW(open, WM_CLOSE, 0, 0);
  }
  return message == kAnswer || message == WM_TIMER
             ? 0
             : DefWindowProcW(window, message, wParam, lParam);
}

void PostClick(HWND dialog, int buttonId) {
  HWND button = GetDlgItem(dialog, buttonId);
  ASSERT_NE(button, nullptr) << "button " << buttonId;
  PostMessageW(button, BM_CLICK, 0, 0);
}

void ChooseInList(HWND dialog, int listId, const std::string& item, bool open) {
  HWND list = GetDlgItem(dialog, listId);
  const LRESULT index = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(win32::Wide(item).c_str()));
  ASSERT_NE(index, LB_ERR) << item;
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(listId, open ? LBN_DBLCLK : LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
}

}  // namespace varnock::testing
