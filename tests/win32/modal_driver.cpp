#include "tests/win32/modal_driver.h"

#include <gtest/gtest.h>

#include "win32/control_ids.h"
#include "win32/layout.h"

namespace varnock::testing {

namespace {

// A Windows hook carries no data of its own: the driver of the running test is kept here.
thread_local ModalDriver* runningDriver = nullptr;

constexpr UINT kRunCall = WM_APP + 7;
constexpr UINT_PTR kWatchdog = 1;
constexpr UINT kPatience = 10000;  // milliseconds

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

// The modal windows the driver answers: message boxes, the picker and the input box.
bool Driven(const std::wstring& windowClass) {
  return windowClass == L"#32770" || windowClass == win32::kPickerClass ||
         windowClass == win32::kInputBoxClass;
}

}  // namespace

ModalDriver::ModalDriver() {
  runningDriver = this;
  hook_ = SetWindowsHookExW(WH_CBT, &ModalDriver::OnCbt, nullptr, GetCurrentThreadId());
  // A message-only window whose procedure runs the calls.
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

void ModalDriver::Then(const wchar_t* windowClass, Step step) {
  steps_.emplace_back(windowClass, std::move(step));
}

void ModalDriver::Later(std::function<void()> call) {
  pendingCalls_.push_back(std::move(call));
  Post(calls_, kRunCall);
}

LRESULT CALLBACK ModalDriver::OnCall(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRunCall && runningDriver != nullptr && !runningDriver->pendingCalls_.empty()) {
    const std::function<void()> call = std::move(runningDriver->pendingCalls_.front());
    runningDriver->pendingCalls_.pop_front();
    call();
    return 0;
  }
  // A modal window left open ends the test's wait instead of its time limit.
  HWND open = message == WM_TIMER ? GetActiveWindow() : nullptr;
  if (open != nullptr && Driven(ClassOf(open))) {
    ADD_FAILURE() << "a window was left open: " << win32::WindowText(open);
    PostMessageW(open, WM_CLOSE, 0, 0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK ModalDriver::OnCbt(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && runningDriver != nullptr) {
    runningDriver->Activated(reinterpret_cast<HWND>(wParam));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void ModalDriver::Activated(HWND window) {
  const std::wstring windowClass = ClassOf(window);
  if (!Driven(windowClass)) {
    return;
  }
  SetTimer(calls_, kWatchdog, kPatience, nullptr);  // the watchdog's wait starts again
  if (windowClass == L"#32770" && seen_.insert(window).second) {
    // Read once the box has been filled and shown, then answered.
    Later([this, window] {
      messages.push_back(win32::WindowText(GetDlgItem(window, 0xFFFF)));
      PostMessageW(window, WM_COMMAND, IDOK, 0);
    });
  } else if (!steps_.empty() && steps_.front().first == windowClass) {
    // Run once the window is active and has the focus.
    Later([step = std::move(steps_.front().second), window] { step(window); });
    steps_.pop_front();
  }
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  EXPECT_TRUE(PostMessageW(window, message, wParam, lParam)) << "message " << message;
}

void PostClick(HWND dialog, int buttonId) {
  HWND button = GetDlgItem(dialog, buttonId);
  ASSERT_NE(button, nullptr) << "button " << buttonId;
  Post(button, BM_CLICK);
}

void PostListChoice(HWND dialog, int listId, int index, bool open) {
  HWND list = GetDlgItem(dialog, listId);
  ASSERT_NE(list, nullptr) << "list " << listId;
  Post(list, LB_SETCURSEL, static_cast<WPARAM>(index));
  Post(dialog, WM_COMMAND, MAKEWPARAM(listId, open ? LBN_DBLCLK : LBN_SELCHANGE),
       reinterpret_cast<LPARAM>(list));
}

}  // namespace varnock::testing
