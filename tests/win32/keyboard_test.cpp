#include <gtest/gtest.h>

#include "tests/win32/gui_harness.h"
#include "win32/control_ids.h"
#include "win32/layout.h"

namespace varnock::testing {
namespace {

// A key pressed in `control` of the window `dialog` with the given modifiers held, handled as
// the program's message loop handles it.
void PressKey(HWND dialog, HWND control, UINT key, bool shift = false, bool ctrl = false) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  BYTE held[256];
  std::copy(std::begin(keys), std::end(keys), std::begin(held));
  held[VK_SHIFT] = shift ? 0x80 : 0;
  held[VK_CONTROL] = ctrl ? 0x80 : 0;
  SetKeyboardState(held);
  MSG message{control, WM_KEYDOWN, key, 1, GetTickCount(), {}};
  if (!IsDialogMessageW(dialog, &message)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  SetKeyboardState(keys);
  Settle(dialog);
}

// The description lets the Tab keys out, and selects nothing when tabbed into. The picker's
// keys are part of its folder-mode test.
TEST(Win32Keyboard, TheTabKeysLeaveTheDescriptionAndTabbingInSelectsNothing) {
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  HWND description = harness.Control(win32::kTextDescription);
  const struct {
    bool shift;
    bool ctrl;
    int expected;
  } keys[] = {{false, false, win32::kPulChangeTomb},
              {true, false, win32::kComboPatch},
              {false, true, win32::kPulChangeTomb}};
  for (const auto& key : keys) {
    SetFocus(description);
    PressKey(harness.Main(), description, VK_TAB, key.shift, key.ctrl);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), key.expected) << key.shift << key.ctrl;
  }
  SetFocus(harness.Control(win32::kComboPatch));
  PressKey(harness.Main(), harness.Control(win32::kComboPatch), VK_TAB);
  ASSERT_EQ(GetFocus(), description);
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(description, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, end) << "the text is selected";
  EXPECT_EQ(SendMessageW(description, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  // The edit's own request to move the focus on is answered.
  SendMessageW(harness.Main(), WM_NEXTDLGCTL, 0, 0);
  EXPECT_EQ(GetDlgCtrlID(GetFocus()), win32::kPulChangeTomb);
}

}  // namespace
}  // namespace varnock::testing
