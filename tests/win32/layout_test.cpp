// Every window built from its design in the user's language, alone: run once for each language
// the program carries and the pseudo-language, at 96 and 144 dots per inch (tests/win32's
// CMakeLists.txt sets both).
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/history_window_design.h"
#include "app/patches_window_design.h"
#include "picker/picker_presenter.h"
#include "picker/system_picker_environment.h"
#include "support/translation.h"
#include "tests/win32/gui_harness.h"
#include "tests/win32/modal_driver.h"
#include "win32/control_ids.h"
#include "win32/history_window.h"
#include "win32/main_window.h"
#include "win32/patches_window.h"
#include "win32/picker_window.h"
#include "win32/text.h"
#include "win32/win32_user_interface.h"

namespace varnock::testing {
namespace {

// Each column's title whole in its header: the header's margin on either side of it.
void ExpectColumnTitlesWhole(HWND list) {
  HWND header = ListView_GetHeader(list);
  const int margins = 2 * Header_GetBitmapMargin(header);
  ASSERT_EQ(Header_GetItemCount(header), static_cast<int>(kPatchesColumns.size()));
  for (int i = 0; i < Header_GetItemCount(header); ++i) {
    wchar_t text[128] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = 128;
    SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    const std::string title = win32::Narrow(text);
    EXPECT_EQ(title, Tr(kPatchesColumns[static_cast<std::size_t>(i)].caption.data()));
    RECT box{};
    Header_GetItemRect(header, i, &box);
    EXPECT_LE(TextWidth(header, title) + margins, box.right - box.left)
        << "the column title \"" << title << "\" is cut";
  }
}

TEST(Win32Layout, EveryWindowShowsItsCaptionsWhole) {
  win32::Win32UserInterface ui;
  win32::MainWindow main;
  ASSERT_NE(main.Handle(), nullptr) << "no window: run the tests inside xvfb-run under Wine";
  main.ShowCentred();
  Settle(main.Handle());
  ExpectBuiltFromDesign(main.Handle(), kMainWindowDesign, win32::kMainControlBase);

  win32::Win32PickerWindowHost host(main.Handle());
  SystemPickerEnvironment environment;
  Dialog_GetFileODir presenter(environment, ui, host);
  for (const bool folderMode : {true, false}) {
    SCOPED_TRACE(folderMode ? "the picker in folder mode" : "the picker");
    win32::PickerWindow picker(presenter, main.Handle());
    picker.SetFolderMode(folderMode);
    ShowWindow(picker.Handle(), SW_SHOWNA);
    Settle(picker.Handle());
    ExpectBuiltFromDesign(picker.Handle(), kPickerDesign, win32::kPickerControlBase, folderMode);
  }

  {
    SCOPED_TRACE("the Patches window");
    win32::PatchesWindow patches(main.Handle(), ui, PatchesRequest{});
    ShowWindow(patches.Handle(), SW_SHOWNA);
    Settle(patches.Handle());
    ExpectBuiltFromDesign(patches.Handle(), kPatchesWindowDesign, win32::kPatchesControlBase);
    ExpectColumnTitlesWhole(GetDlgItem(patches.Handle(), win32::kListPatches));
  }

  ModalDriver driver;
  driver.Then(win32::kHistoryWindowClass, [](HWND history) {
    SCOPED_TRACE("the History window");
    ExpectBuiltFromDesign(history, kHistoryWindowDesign, win32::kHistoryControlBase);
    PostClick(history, win32::kPulCloseHistory);
  });
  win32::ShowHistoryWindow(main.Handle(), HistoryListing{"History", {"change"}, "as left"});
  EXPECT_TRUE(driver.Done());
}

}  // namespace
}  // namespace varnock::testing
