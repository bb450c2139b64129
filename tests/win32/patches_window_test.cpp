// The Patches window with many rows, driven through its list.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "engine/catalogue.h"
#include "engine/silent_ui.h"
#include "patchfile/load_patch.h"
#include "patchfile/patch_writer.h"
#include "support/files.h"
#include "support/paths.h"
#include "tests/common/temp_dir.h"
#include "tests/win32/gui_harness.h"
#include "win32/control_ids.h"
#include "win32/layout.h"
#include "win32/main_window.h"
#include "win32/patches_window.h"
#include "win32/text.h"
#include "win32/win32_user_interface.h"

namespace varnock::testing {
namespace {

std::string CellName(HWND list, int row) {
  wchar_t text[128] = {};
  LVITEMW item{};
  item.pszText = text;
  item.cchTextMax = 128;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return win32::Narrow(text);
}

std::string WithoutCr(const std::string& text) {
  std::string plain;
  for (const char c : text) {
    if (c != '\r') {
      plain += c;
    }
  }
  return plain;
}

// Arrows, Page Down and Up, End and Home pressed in a list of 2,500 rows: after each key the
// selection has moved as the list moves it and the description is the selected patch's, the
// window following the selection from the list's own notifications; a click with Shift or Ctrl
// never selects a second row; a new filter scrolls to the top of its rows.
TEST(Win32PatchesWindow, DescriptionFollowsTheKeysAndTheFilterAtManyRows) {
  constexpr int kRows = 2500;
  TempDir temp;
  SilentUi silent;
  PatchRecord record;
  ASSERT_TRUE(LoadPatch(DemoFile("Patch_ExtraWadTextures.ptc"), record, silent));
  std::map<std::string, std::string> descriptions;
  for (int i = 0; i < kRows; ++i) {
    const std::string name = "Patch_" + std::to_string(10000 + i) + ".ptc";
    record.Description = "Patch number " + std::to_string(i);
    temp.Write(JoinPath("patches", name), WritePatch(record));
    descriptions[name] = record.Description;
  }
  PatchesRequest request;
  request.folder = temp.File("patches");
  request.exePath = temp.Write("tomb4.exe", ReadWholeFile(DemoFile("tomb4.exe")));
  for (CatalogueEntry& entry : BuildCatalogue(request.folder, "", record, silent)) {
    request.fileNames.push_back(std::move(entry.fileName));
  }
  win32::MainWindow owner;
  win32::Win32UserInterface ui;
  win32::PatchesWindow window(owner.Handle(), ui, request);
  ASSERT_NE(window.Handle(), nullptr) << "no window: run the tests inside xvfb-run under Wine";
  ShowWindow(window.Handle(), SW_SHOW);
  window.Presenter().Open();
  for (int wait = 0; wait < 6000 && window.Presenter().Status().entries.empty(); ++wait) {
    Sleep(10);
    Settle(window.Handle());
  }
  ASSERT_EQ(window.Presenter().Status().entries.size(), static_cast<std::size_t>(kRows));
  HWND list = GetDlgItem(window.Handle(), win32::kListPatches);
  HWND description = GetDlgItem(window.Handle(), win32::kPatchesDescription);
  SetFocus(list);
  ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  Settle(window.Handle());
  const int page = ListView_GetCountPerPage(list);
  ASSERT_GT(page, 1);
  const struct {
    WPARAM key;
    int times;
    int moves;  // rows moved by each key; 0: to the first row, -1: to the last
  } keys[] = {{VK_DOWN, 60, 1},       {VK_NEXT, 5, page - 1},  {VK_UP, 20, -1},
              {VK_END, 1, kRows - 1}, {VK_PRIOR, 3, 1 - page}, {VK_HOME, 1, 0}};
  int expected = 0;
  for (const auto& [key, times, moves] : keys) {
    for (int i = 0; i < times; ++i) {
      SendMessageW(list, WM_KEYDOWN, key, 1);
      SendMessageW(list, WM_KEYUP, key, 0xC0000001);
      Settle(nullptr);
      expected = key == VK_HOME ? 0 : key == VK_END ? kRows - 1 : expected + moves;
      const int selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
      ASSERT_EQ(selected, expected) << "key " << key << ", press " << i;
      ASSERT_EQ(WithoutCr(win32::WindowText(description)), descriptions[CellName(list, selected)])
          << "key " << key << ", press " << i;
    }
  }
  // A row selected beside the selected one, or every row at once, leaves one selected.
  const int before = ListView_GetNextItem(list, -1, LVNI_SELECTED);
  ListView_SetItemState(list, -1, LVIS_SELECTED, LVIS_SELECTED);
  Settle(nullptr);
  EXPECT_EQ(ListView_GetSelectedCount(list), 1u);
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), before);
  ListView_SetItemState(list, before + 1, LVIS_SELECTED, LVIS_SELECTED);
  Settle(nullptr);
  EXPECT_EQ(ListView_GetSelectedCount(list), 1u);
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), before + 1);
  EXPECT_EQ(WithoutCr(win32::WindowText(description)), descriptions[CellName(list, before + 1)]);
  // A click with Ctrl or Shift held selects the row clicked alone.
  for (const WPARAM held : {MK_CONTROL, MK_SHIFT}) {
    const int row = ListView_GetTopIndex(list) + (held == MK_CONTROL ? 2 : 4);
    RECT cell{};
    cell.left = LVIR_LABEL;
    SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    const LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON | held, at);
    PostMessageW(list, WM_LBUTTONUP, held, at);
    Settle(nullptr);
    EXPECT_EQ(ListView_GetSelectedCount(list), 1u);
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), row);
    EXPECT_EQ(WithoutCr(win32::WindowText(description)), descriptions[CellName(list, row)]);
  }
  // A new filter shows the top of its rows wherever the list was scrolled, and the selected row
  // in view when it is among them.
  const auto filtered = [&] {
    HWND filter = GetDlgItem(window.Handle(), win32::kTextFilter);
    SetWindowTextW(filter, L"Patch_111");
    Settle(nullptr);
    const int top = ListView_GetTopIndex(list);
    const int selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    const bool inView = selected >= top && selected < top + page;
    const std::string shown = CellName(list, top) + " " +
                              std::to_string(ListView_GetItemCount(list)) +
                              (selected < 0 ? ""
                               : inView     ? " " + CellName(list, selected)
                                            : " out of view");
    SetWindowTextW(filter, L"");
    Settle(nullptr);
    return shown;
  };
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(list, 2400, FALSE);
  EXPECT_EQ(filtered(), "Patch_11100.ptc 100");
  ListView_SetItemState(list, 1170, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(list, 2400, FALSE);
  const std::string kept = filtered();
  EXPECT_TRUE(kept.starts_with("Patch_111")) << kept;
  EXPECT_TRUE(kept.ends_with(" 100 Patch_11170.ptc")) << kept;
  window.Presenter().CloseClicked();
  Settle(nullptr);
}

}  // namespace
}  // namespace varnock::testing
