#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <functional>

#include "support/files.h"
#include "support/paths.h"
#include "tests/win32/gui_harness.h"
#include "tests/win32/modal_driver.h"
#include "win32/control_ids.h"
#include "win32/layout.h"
#include "win32/text.h"

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
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), key.expected)
        << "shift " << key.shift << " ctrl " << key.ctrl;
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

TEST(Win32Keyboard, ALongPathCutWithAnEllipsisHasATooltipWithTheWholePath) {
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  const std::string path = "C:\\" + std::string(40, 'a') + "\\" + std::string(40, 'b') + "\\" +
                           std::string(40, 'c') + "\\tomb4.exe";
  harness.window->SetCaption(MainLabel::NomeExe, path);
  wchar_t shown[1024] = {};
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = harness.Main();
  tool.uId = reinterpret_cast<UINT_PTR>(harness.Control(win32::kLabelNomeExe));
  tool.lpszText = shown;
  SendMessageW(harness.window->ToolTips(), TTM_GETTEXTW, std::size(shown),
               reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(win32::Narrow(shown), path);
}

TEST(Win32Keyboard, PickerGivesTheFocusBackAfterAMessageAndEnterMakesTheFolder) {
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  ModalDriver driver;
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
    HWND picker = GetParent(name);
    driver.Later([picker] { PostClick(picker, win32::kPickerCancel); });
  };
  driver.Then(win32::kPickerClass, [&](HWND picker) {
    driver.Later([&, picker] {
      folder = win32::WindowText(GetDlgItem(picker, win32::kTextPath));
      name = GetDlgItem(picker, win32::kTextPathDir);
      SetFocus(name);
      // Enter with no name: the message, then the focus in the name box again.
      Post(name, WM_KEYDOWN, VK_RETURN, 1);
      driver.Later(afterMessage);
    });
  });
  harness.Click(win32::kPulChangeDirSrc);
  ASSERT_EQ(driver.messages.size(), 1u);
  EXPECT_EQ(driver.messages[0].text,
            "Before clicking this button you must type name for new folder");
  EXPECT_TRUE(focusBack);
  EXPECT_TRUE(FolderExists(JoinPath(folder, "Made")));
  EXPECT_TRUE(driver.unexpected.empty());
}

}  // namespace
}  // namespace varnock::testing
