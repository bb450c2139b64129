#include <gtest/gtest.h>

#include <optional>

#include "tests/win32/modal_driver.h"
#include "win32/control_ids.h"
#include "win32/layout.h"
#include "win32/win32_user_interface.h"

namespace varnock::testing {
namespace {

// The answer typed and OK, Enter on the proposed answer, Cancel, an empty answer, the close box.
TEST(Win32Boxes, TheInputBoxGivesTheAnswerOrNothing) {
  win32::Win32UserInterface ui;
  ModalDriver driver;
  const struct {
    const wchar_t* typed;  // null: the proposed answer kept
    UINT message;
    WPARAM button;
    std::optional<std::string> answer;
  } cases[] = {{L"1024", BM_CLICK, IDOK, "1024"},
               {nullptr, WM_KEYDOWN, VK_RETURN, "256"},
               {nullptr, BM_CLICK, IDCANCEL, std::nullopt},
               {L"", BM_CLICK, IDOK, std::nullopt},
               {nullptr, WM_CLOSE, 0, std::nullopt}};
  for (const auto& item : cases) {
    std::string seen;
    driver.Then(win32::kInputBoxClass, [&](HWND box) {
      seen = win32::WindowText(box) + "|" +
             win32::WindowText(GetDlgItem(box, win32::kInputPrompt)) + "|" +
             win32::WindowText(GetDlgItem(box, win32::kInputAnswer));
      if (item.typed != nullptr) {
        SetDlgItemTextW(box, win32::kInputAnswer, item.typed);
      }
      HWND target = item.message == BM_CLICK     ? GetDlgItem(box, static_cast<int>(item.button))
                    : item.message == WM_KEYDOWN ? GetDlgItem(box, win32::kInputAnswer)
                                                 : box;
      Post(target, item.message, item.message == WM_KEYDOWN ? item.button : 0,
           item.message == WM_KEYDOWN ? 1 : 0);
    });
    EXPECT_EQ(ui.AskText("Number of pages:\r\n(256 to 4096)", "Patch argument", "256"),
              item.answer);
    EXPECT_EQ(seen, "Patch argument|Number of pages:\r\n(256 to 4096)|256");
  }
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(driver.unexpected.empty());
}

}  // namespace
}  // namespace varnock::testing
