#include <gtest/gtest.h>

#include <optional>

#include "tests/win32/modal_driver.h"
#include "win32/control_ids.h"
#include "win32/layout.h"
#include "win32/win32_user_interface.h"

namespace varnock::testing {
namespace {

// The answer typed and OK, or Enter in the answer; Cancel, or an empty answer, give nothing.
TEST(Win32Boxes, TheInputBoxGivesTheAnswerOrNothing) {
  win32::Win32UserInterface ui;
  ModalDriver driver;
  const struct {
    const wchar_t* typed;
    int pressed;  // a button, or 0 for the Enter key
    std::optional<std::string> answer;
  } cases[] = {{L"1024", IDOK, "1024"},
               {L"512", 0, "512"},
               {L"1024", IDCANCEL, std::nullopt},
               {L"", IDOK, std::nullopt}};
  for (const auto& item : cases) {
    std::string seen;
    driver.Then(win32::kInputBoxClass, [&](HWND box) {
      seen = win32::WindowText(box) + "|" +
             win32::WindowText(GetDlgItem(box, win32::kInputPrompt)) + "|" +
             win32::WindowText(GetDlgItem(box, win32::kInputAnswer));
      SetDlgItemTextW(box, win32::kInputAnswer, item.typed);
      if (item.pressed != 0) {
        PostClick(box, item.pressed);
      } else {
        PostMessageW(GetDlgItem(box, win32::kInputAnswer), WM_KEYDOWN, VK_RETURN, 1);
      }
    });
    EXPECT_EQ(ui.AskText("Number of pages:\r\n(256 to 4096)", "Patch argument", "256"),
              item.answer);
    EXPECT_EQ(seen, "Patch argument|Number of pages:\r\n(256 to 4096)|256");
  }
  EXPECT_TRUE(driver.Done());
}

}  // namespace
}  // namespace varnock::testing
