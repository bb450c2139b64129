#include <gtest/gtest.h>

#include <functional>

#include "support/files.h"
#include "support/paths.h"
#include "tests/win32/gui_harness.h"
#include "tests/win32/modal_driver.h"
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

// The description lets the Tab keys out and selects nothing when tabbed into; an access key
// presses its button; in the picker the path line passes the focus on, and the name box has it
// back after the message that a name is missing, and makes the folder with Enter.
TEST(Win32Keyboard, TheFocusMovesWhereTheKeysSend) {
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

  ModalDriver driver;
  std::string caption;
  bool focusPassedOn = false;
  bool focusBack = false;
  std::string folder;
  HWND name = nullptr;
  // Runs inside the message box's own loop until the box has been answered and closed.
  std::function<void()> afterMessage = [&] {
    if (driver.messages.empty() || FindWindowW(L"#32770", nullptr) != nullptr) {
      driver.Later(afterMessage);
      return;
    }
    focusBack = GetFocus() == name;
    SetWindowTextW(name, L"Made");
    Post(name, WM_KEYDOWN, VK_RETURN, 1);
    driver.Later([&] { PostClick(GetParent(name), win32::kPickerCancel); });
  };
  driver.Then(win32::kPickerClass, [&](HWND picker) {
    caption = win32::WindowText(picker);
    driver.Later([&, picker] {
      folder = win32::WindowText(GetDlgItem(picker, win32::kTextPath));
      SetFocus(GetDlgItem(picker, win32::kTextPath));
      driver.Later([&, picker] {
        focusPassedOn = GetFocus() == GetDlgItem(picker, win32::kPulNuovaCartella);
        name = GetDlgItem(picker, win32::kTextPathDir);
        SetFocus(name);
        Post(name, WM_KEYDOWN, VK_RETURN, 1);  // Enter with no name
        driver.Later(afterMessage);
      });
    });
  });
  // Alt+P, as the window's message loop hands it to the dialog manager.
  MSG key{harness.Control(win32::kComboPatch), WM_SYSCHAR, 'p', 0x20000000, 0, {}};
  EXPECT_TRUE(IsDialogMessageW(harness.Main(), &key));
  Settle(harness.Main());
  EXPECT_EQ(caption, "Select folder with patches");
  EXPECT_TRUE(focusPassedOn);
  ASSERT_EQ(driver.messages.size(), 1u);
  EXPECT_EQ(driver.messages[0].text,
            "Before clicking this button you must type name for new folder");
  EXPECT_TRUE(focusBack);
  EXPECT_TRUE(FolderExists(JoinPath(folder, "Made")));
  EXPECT_TRUE(driver.unexpected.empty());
}

}  // namespace
}  // namespace varnock::testing
