#include <gtest/gtest.h>

#include "tests/win32/modal_driver.h"
#include "win32/control_ids.h"
#include "win32/layout.h"
#include "win32/win32_user_interface.h"

namespace varnock::testing {
namespace {

TEST(Win32Boxes, MessagesShowTheirTextAndTheirIcon) {
  win32::Win32UserInterface ui;
  ModalDriver driver;
  ui.ShowMessage("ERROR: first line\r\nsecond line", MessageIcon::Critical);
  ui.ShowMessage("No patch selected", MessageIcon::None);
  ASSERT_EQ(driver.messages.size(), 2u);
  EXPECT_EQ(driver.messages[0].text, "ERROR: first line\r\nsecond line");
  EXPECT_TRUE(driver.messages[0].critical);
  EXPECT_EQ(driver.messages[1].text, "No patch selected");
  EXPECT_FALSE(driver.messages[1].critical);
}

struct SeenBox {
  std::string title;
  std::string prompt;
  std::string proposed;
};

TEST(Win32Boxes, TheInputBoxGivesTheAnswerOrNothing) {
  win32::Win32UserInterface ui;
  ModalDriver driver;
  SeenBox seen;
  driver.Then(win32::kInputBoxClass, [&](HWND box) {
    seen = {win32::WindowText(box), win32::WindowText(GetDlgItem(box, win32::kInputPrompt)),
            win32::WindowText(GetDlgItem(box, win32::kInputAnswer))};
    SetDlgItemTextW(box, win32::kInputAnswer, L"1024");
    PostClick(box, IDOK);
  });
  EXPECT_EQ(ui.AskText("Number of pages:\r\n(256 to 4096)", "Patch argument", "256"), "1024");
  EXPECT_EQ(seen.title, "Patch argument");
  EXPECT_EQ(seen.prompt, "Number of pages:\r\n(256 to 4096)");
  EXPECT_EQ(seen.proposed, "256");

  // The Enter key takes the proposed answer.
  driver.Then(win32::kInputBoxClass, [](HWND box) {
    Post(GetDlgItem(box, win32::kInputAnswer), WM_KEYDOWN, VK_RETURN, 1);
  });
  EXPECT_EQ(ui.AskText("Value:", "Patch argument", "5"), "5");

  driver.Then(win32::kInputBoxClass, [](HWND box) { PostClick(box, IDCANCEL); });
  EXPECT_EQ(ui.AskText("Value:", "Patch argument", "5"), std::nullopt);
  driver.Then(win32::kInputBoxClass, [](HWND box) {
    SetDlgItemTextW(box, win32::kInputAnswer, L"");
    PostClick(box, IDOK);
  });
  EXPECT_EQ(ui.AskText("Value:", "Patch argument", "5"), std::nullopt);
  driver.Then(win32::kInputBoxClass, [](HWND box) { Post(box, WM_CLOSE); });
  EXPECT_EQ(ui.AskText("Value:", "Patch argument", "5"), std::nullopt);
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(driver.unexpected.empty());
}

}  // namespace
}  // namespace varnock::testing
