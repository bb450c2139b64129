// The main window over the real presenter, at the screen's dots per inch (96, and 144 on the
// run of at_dpi.sh).
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "app/history_window_design.h"
#include "app/main_presenter.h"
#include "engine/patch_status.h"
#include "picker/picker_presenter.h"
#include "picker/system_picker_environment.h"
#include "support/files.h"
#include "support/paths.h"
#include "support/safe_rewrite.h"
#include "tests/common/demo_install.h"
#include "tests/win32/gui_harness.h"
#include "tests/win32/modal_driver.h"
#include "tests/win32/msaa_reader.h"
#include "tools/demo_engine.h"
#include "ui/accessible_names.h"
#include "win32/control_ids.h"
#include "win32/layout.h"
#include "win32/main_window.h"
#include "win32/picker_window.h"
#include "win32/text.h"
#include "win32/win32_user_interface.h"

namespace varnock::testing {
namespace {

// A program folder with the demonstration patches in a bundle appended to a stand-in of the
// program's executable, a game folder with a copy of the demonstration tomb4.exe, and the real
// main window and presenter over them, with real message boxes.
struct MainWindowHarness {
  MainWindowHarness() { window->Connect(presenter); }
  ~MainWindowHarness() {
    window.reset();  // before the presenter it reports to
    Settle(nullptr);
  }
  HWND Main() const { return window->Handle(); }
  HWND Control(int id) const { return GetDlgItem(Main(), id); }
  // The patch folder, how many patches are listed, the executable and its version, and
  // "dynamic" when the marker is up.
  std::string Shown() const {
    const LRESULT count = SendMessageW(Control(win32::kComboPatch), CB_GETCOUNT, 0, 0);
    return win32::WindowText(Control(win32::kLabelDirSrc)) + "|" + std::to_string(count) + "|" +
           win32::WindowText(Control(win32::kLabelNomeExe)) + "|" +
           win32::WindowText(Control(win32::kLabelTombVersionNow)) +
           (IsWindowVisible(Control(win32::kLabelDynamic)) ? "|dynamic" : "");
  }
  // Started, the demonstration tomb4.exe chosen and the window shown; false when start-up failed.
  bool StartWithProgram() {
    if (!presenter.Load()) {
      return false;
    }
    presenter.FilesDropped({install.exe});
    window->ShowCentred();
    Settle(Main());
    return true;
  }
  // The Patches window opened by its button's access key; returns once it has closed.
  void OpenPatchesWindow() const {
    MSG key{Control(win32::kComboPatch), WM_SYSCHAR, 'l', 0x20000000, 0, {}};
    EXPECT_TRUE(IsDialogMessageW(Main(), &key));
    Settle(Main());
  }
  // A button pressed; returns once its handler, and any box it opened, has finished.
  void Click(int id) const {
    SendMessageW(Control(id), BM_CLICK, 0, 0);
    Settle(Main());
  }

  TempDir temp;
  DemoInstall install = InstallDemo(temp, BuildPath(VARNOCK_DEMO_DIR), "varnock.exe", true);
  win32::Win32UserInterface ui;
  std::unique_ptr<win32::MainWindow> window = std::make_unique<win32::MainWindow>();
  win32::Win32PickerWindowHost pickerHost{window->Handle()};
  SystemPickerEnvironment pickerEnvironment;
  Dialog_GetFileODir picker{pickerEnvironment, ui, pickerHost};
  MainPresenter presenter{*window, picker, ui, DemoEnvironment(install)};
};

// What a screen reader reads of each control of a window through MSAA, against what the design
// says, as far as Wine's oleacc reads it (Wine 8): a box the user types or reads text in is
// named by the label before it (a hidden one for those the design names itself) and holds its
// text as its value; a button or check box is named by its caption, the access key's mark taken
// out; a label by its text. An item of a list (a row of the Patches window), once it can be
// read, tells the row's mark. Wine reads nothing more: every other control has the role
// "client", a drop-down list is named by its current item, not by its label, and a list view
// has neither a name nor items; there the label just before each control, which Windows reads
// as its name, is checked by ExpectBuiltFromDesign, and the rows' marks by the list's own
// item states.
void ExpectReadAsDesigned(HWND window, const WindowDesign& design, int idBase) {
  const auto control = [&](std::string_view name) {
    return GetDlgItem(window, idBase + IndexOf(design.controls, name));
  };
  for (const ControlDesign& planned : design.controls) {
    SCOPED_TRACE(std::string(planned.name));
    HWND shown = control(planned.name);
    const AccessibleReading reading = ReadAccessible(shown);
    ASSERT_TRUE(reading.found) << "MSAA reads nothing of the control";
    EXPECT_EQ((reading.state & STATE_SYSTEM_UNAVAILABLE) != 0, !IsWindowEnabled(shown));
    switch (planned.kind) {
      case ControlKind::EntryLine:
      case ControlKind::ValueArea:
      case ControlKind::ValueLine: {
        const ControlDesign* label = NamingLabel(design, planned.name);
        EXPECT_EQ(reading.name, label != nullptr ? win32::WindowText(control(label->name))
                                                 : std::string(GivenName(design, planned.name)));
        EXPECT_EQ(reading.role, ROLE_SYSTEM_TEXT);
        EXPECT_EQ(reading.value, win32::WindowText(shown));
        EXPECT_EQ((reading.state & STATE_SYSTEM_READONLY) != 0,
                  planned.kind != ControlKind::EntryLine);
        break;
      }
      case ControlKind::Button:
      case ControlKind::CheckBox:
        EXPECT_EQ(reading.name, planned.caption);
        break;
      case ControlKind::Label:
      case ControlKind::ValueLabel:
      case ControlKind::MarkerLabel:
        EXPECT_EQ(reading.name, win32::WindowText(shown));
        break;
      default:
        break;
    }
  }
}

// The rows of the Patches window as MSAA reads them, where it can: "[x] name" for each.
std::vector<std::string> RowsRead(HWND list) {
  std::vector<std::string> rows;
  for (long row = 1; row <= ListView_GetItemCount(list); ++row) {
    const AccessibleReading reading = ReadAccessible(list, row);
    if (reading.found) {
      rows.push_back(std::string((reading.state & STATE_SYSTEM_CHECKED) != 0 ? "[x] " : "[ ] ") +
                     reading.name);
    }
  }
  return rows;
}

// A user's session: the window built from its design, the patches listed at start-up, the
// description left with the Tab key; the picker built from its design in folder mode, opened by
// its access key, walked up and down to another patch folder, and in file mode, where a click
// and OK take the program; the main window and the picker read by a screen reader as designed;
// the window painted, the patch applied twice and removed, and the window closed, which deletes
// the patches unpacked from the bundle. The picture is taken from
// the screen: no other test's window may cover the window meanwhile.
TEST(Win32MainWindowAlone, FromStartUpToCloseBuiltFromItsDesign) {
  MainWindowHarness harness;
  ASSERT_NE(harness.Main(), nullptr) << "no window: run the tests inside xvfb-run under Wine";
  const std::string folder = "\xC3\x9Cn\xC3\xAF code";
  harness.temp.Write(folder + "\\Patch_ExtraWadTextures.ptc",
                     ReadWholeFile(DemoFile("Patch_ExtraWadTextures.ptc")));
  ASSERT_TRUE(harness.presenter.Load());
  harness.window->ShowCentred();
  Settle(harness.Main());
  ExpectBuiltFromDesign(harness.Main(), kMainWindowDesign, win32::kMainControlBase);
  EXPECT_EQ(win32::WindowText(harness.Main()), kMainWindowCaption);
  EXPECT_EQ(harness.Shown(), harness.install.programFolder + "|2||");
  EXPECT_EQ(win32::WindowText(harness.Control(win32::kLabelTombVersion)),
            tools::kDemoEngineVersion);
  // Each line of the description on a line of its own.
  HWND description = harness.Control(win32::kTextDescription);
  EXPECT_EQ(win32::WindowText(description).rfind("Extra video memory (20 MB)\r\n\r\n", 0), 0u);
  // Tabbing into the read-only description selects nothing, and the Tab key leaves it.
  EXPECT_EQ(GetFocus(), harness.Control(win32::kComboPatch));
  for (HWND next : {description, harness.Control(win32::kPulChangeTomb)}) {
    MSG key{GetFocus(), WM_KEYDOWN, VK_TAB, 1, GetTickCount(), {}};
    EXPECT_TRUE(IsDialogMessageW(harness.Main(), &key));
    EXPECT_EQ(GetFocus(), next);
    const auto selection = static_cast<DWORD>(SendMessageW(description, EM_GETSEL, 0, 0));
    EXPECT_EQ(LOWORD(selection), HIWORD(selection)) << "the text is selected";
  }

  ModalDriver driver;
  std::string caption;
  driver.Then(win32::kPickerClass, [&](HWND picker) {
    caption = win32::WindowText(picker);
    ExpectBuiltFromDesign(picker, kPickerDesign, win32::kPickerControlBase, true);
    ChooseInList(picker, win32::kDir1, GetFileName(harness.temp.path()), true);
    ChooseInList(picker, win32::kDir1, folder, true);
    PostClick(picker, win32::kPickerOk);
  });
  // Alt+P, as the window's message loop hands it to the dialog manager.
  MSG key{harness.Control(win32::kComboPatch), WM_SYSCHAR, 'p', 0x20000000, 0, {}};
  EXPECT_TRUE(IsDialogMessageW(harness.Main(), &key));
  Settle(harness.Main());
  EXPECT_EQ(caption, "Select folder with patches");
  driver.Then(win32::kPickerClass, [&](HWND picker) {
    ExpectBuiltFromDesign(picker, kPickerDesign, win32::kPickerControlBase);
    ExpectReadAsDesigned(picker, kPickerDesign, win32::kPickerControlBase);
    ChooseInList(picker, win32::kListFiles, "tomb4.exe");
    PostClick(picker, win32::kPickerOk);
  });
  harness.Click(win32::kPulChangeTomb);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(harness.Shown(), harness.temp.File(folder) + "|1|" + harness.install.exe + "|" +
                                 tools::kDemoEngineVersion + "|dynamic");
  ExpectReadAsDesigned(harness.Main(), kMainWindowDesign, win32::kMainControlBase);
  // The value fields green on dark green, the dynamic patch's marker red.
  for (int id : {win32::kLabelTombVersion, win32::kLabelDirSrc, win32::kTextDescription}) {
    const std::vector<std::uint32_t> field = PixelsOnScreen(harness.Control(id), 2);
    EXPECT_GT(std::count(field.begin(), field.end(), 0x004000), field.size() / 2) << "field " << id;
    EXPECT_GT(std::count(field.begin(), field.end(), 0x00FF00), 20) << "text in " << id;
  }
  const std::vector<std::uint32_t> marker =
      PixelsOnScreen(harness.Control(win32::kLabelDynamic), 0);
  EXPECT_GT(std::count(marker.begin(), marker.end(), 0xFF0000), 20);
  const Bytes original = ReadWholeFile(harness.install.exe);
  harness.Click(win32::kPulApplyPatch);
  harness.Click(win32::kPulApplyPatch);
  const Bytes applied = ReadWholeFile(harness.install.exe);
  harness.Click(win32::kPulRemovePatch);
  EXPECT_NE(applied, original);
  EXPECT_EQ(ReadWholeFile(harness.install.exe), original);
  EXPECT_EQ(driver.messages, (std::vector<std::string>{
                                 "Ok: applying patch operation has been performed",
                                 "WARNING: applying patch operation was already been performed",
                                 "Ok: removing patch operation has been performed"}));

  const std::string unpacked =
      JoinPath(harness.install.programFolder, "Patch_ExtraWadTextures.ptc");
  EXPECT_TRUE(FileExists(unpacked));
  harness.Click(win32::kPulCancel);
  EXPECT_EQ(harness.Main(), nullptr);
  EXPECT_FALSE(FileExists(unpacked));
  EXPECT_FALSE(
      FileExists(JoinPath(harness.install.programFolder, "Patch_ExtraVideoMemory20MB.ptc")));
  EXPECT_TRUE(FileExists(JoinPath(harness.install.programFolder, "varnock.exe")));
}

// The text of a cell of the Patches window's list, as the list shows it.
std::string CellText(HWND list, int row, int column) {
  wchar_t text[128] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 128;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return win32::Narrow(text);
}

// The Patches window's rows as its list shows them: mark, name and status.
std::vector<std::string> ShownRows(HWND patches) {
  HWND list = GetDlgItem(patches, win32::kListPatches);
  std::vector<std::string> rows;
  for (int row = 0; row < ListView_GetItemCount(list); ++row) {
    rows.push_back(std::string(ListView_GetCheckState(list, row) ? "[x] " : "[ ] ") +
                   CellText(list, row, 0) + " " + CellText(list, row, 1));
  }
  return rows;
}

// The rows once every status shown has been computed, which the window takes from the
// computing thread as it runs, and the progress line no longer counts them.
std::vector<std::string> ComputedRows(HWND patches) {
  std::vector<std::string> rows;
  for (int wait = 0; wait < 200; ++wait, Sleep(10)) {
    Settle(patches);
    rows = ShownRows(patches);
    if (std::none_of(rows.begin(), rows.end(),
                     [](const std::string& row) { return row.ends_with("\xE2\x80\xA6"); }) &&
        win32::WindowText(GetDlgItem(patches, win32::kLabelProgress)).find("Statuses: ") ==
            std::string::npos) {
      break;
    }
  }
  return rows;
}

// A key pressed on a row of the Patches window's list, the row selected first, as the window's
// message loop hands it to the dialog manager.
void PressKeyOnRow(HWND patches, int row, WPARAM key) {
  HWND list = GetDlgItem(patches, win32::kListPatches);
  ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  SetFocus(list);
  MSG message{list, WM_KEYDOWN, key, 1, GetTickCount(), {}};
  if (!IsDialogMessageW(patches, &message)) {
    DispatchMessageW(&message);
  }
  Settle(patches);
}

// The Patches window opened by its button's access key on the patch the main window shows, its
// description there and the keys on its row; its rows computed off the window's thread, narrowed
// by the filter, two marks toggled (Space, Enter); built from its design with a change to apply,
// and read by a screen reader as designed before and after. "Apply changes", pressed while the
// window lost the activation (to a box, which gives the focus back to the control that had it),
// leaves both patches applied, asking nothing, and the focus on the list, not on the now grey
// button. "History…" lists the change last (before the executable is replaced: a new file has
// no history). A set saved through the system's dialogs, the executable put back, the set
// opened: the rows marked, what is missing told in one box. F5 and Escape through the window's
// own loop; the main window's status line up to date after.
TEST(Win32MainWindow, PatchesWindowAppliesTheMarkedPatchesAndKeepsThemAsASet) {
  MainWindowHarness harness;
  ASSERT_NE(harness.Main(), nullptr) << "no window: run the tests inside xvfb-run under Wine";
  ASSERT_TRUE(harness.StartWithProgram());
  SendMessageW(harness.Control(win32::kComboPatch), CB_SETCURSEL, 1, 0);
  harness.presenter.PatchClicked();
  Settle(harness.Main());
  const std::string description = win32::WindowText(harness.Control(win32::kTextDescription));
  const Bytes original = ReadWholeFile(harness.install.exe);
  const std::string set = harness.temp.File("chosen.ptcset");
  const std::string video = "Patch_ExtraVideoMemory20MB.ptc";
  const std::string wad = "Patch_ExtraWadTextures.ptc";
  ModalDriver driver;
  std::vector<std::vector<std::string>> seen;
  std::vector<std::vector<std::string>> read;  // the rows as MSAA reads them
  std::vector<std::string> history;
  driver.Then(win32::kPatchesWindowClass, [&](HWND patches) {
    HWND list = GetDlgItem(patches, win32::kListPatches);
    HWND filter = GetDlgItem(patches, win32::kTextFilter);
    // A button clicked; the rows once the statuses computed after it are all in.
    const auto click = [&](int button) {
      SendMessageW(GetDlgItem(patches, button), BM_CLICK, 0, 0);
      return ComputedRows(patches);
    };
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 1);
    EXPECT_EQ(win32::WindowText(GetDlgItem(patches, win32::kPatchesDescription)), description);
    seen.push_back(ComputedRows(patches));
    ExpectReadAsDesigned(patches, kPatchesWindowDesign, win32::kPatchesControlBase);
    read.push_back(RowsRead(list));
    SetWindowTextW(filter, L"VIDEO");
    PressKeyOnRow(patches, 0, VK_SPACE);
    seen.push_back(ShownRows(patches));
    SetWindowTextW(filter, L"");
    PressKeyOnRow(patches, 1, VK_RETURN);
    seen.push_back(ShownRows(patches));
    ExpectReadAsDesigned(patches, kPatchesWindowDesign, win32::kPatchesControlBase);
    read.push_back(RowsRead(list));
    // With a change to apply, every button takes the focus in turn.
    ExpectBuiltFromDesign(patches, kPatchesWindowDesign, win32::kPatchesControlBase);
    SetFocus(GetDlgItem(patches, win32::kPulApplyChanges));
    SendMessageW(patches, WM_ACTIVATE, WA_INACTIVE, 0);
    seen.push_back(click(win32::kPulApplyChanges));
    SendMessageW(patches, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(GetFocus(), list);
    const Bytes applied = ReadWholeFile(harness.install.exe);
    EXPECT_NE(applied, original);
    for (const std::string& name : {video, wad}) {
      std::string version;
      EXPECT_EQ(GetPatchStatus(DemoFile(name), harness.install.exe, {}, version).state,
                PatchState::Applied)
          << name;
    }

    driver.Then(win32::kHistoryWindowClass, [&](HWND shown) {
      ExpectBuiltFromDesign(shown, kHistoryWindowDesign, win32::kHistoryControlBase);
      HWND listed = GetDlgItem(shown, win32::kListHistory);
      const auto count = SendMessageW(listed, LB_GETCOUNT, 0, 0);
      EXPECT_EQ(SendMessageW(listed, LB_GETCURSEL, 0, 0), count - 1);
      wchar_t text[512] = {};
      SendMessageW(listed, LB_GETTEXT, static_cast<WPARAM>(count - 1),
                   reinterpret_cast<LPARAM>(text));
      history.push_back(win32::Narrow(text));
      PostClick(shown, win32::kPulCloseHistory);
    });
    SendMessageW(GetDlgItem(patches, win32::kPulHistory), BM_CLICK, 0, 0);

    driver.fileNames.push_back(set);
    click(win32::kPulSaveSet);
    std::string error;
    EXPECT_TRUE(RewriteFile(harness.install.exe, original, error)) << error;
    seen.push_back(click(win32::kPulRefresh));
    driver.fileNames.push_back(set);
    seen.push_back(click(win32::kPulOpenSet));
    EXPECT_TRUE(RewriteFile(harness.install.exe, applied, error)) << error;
    PostMessageW(list, WM_KEYDOWN, VK_F5, 1);
    PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 1);
  });
  harness.OpenPatchesWindow();
  EXPECT_TRUE(driver.Done());
  // Wine reads no rows; Windows reads each with its mark.
  EXPECT_TRUE(read == (std::vector<std::vector<std::string>>{{}, {}}) ||
              read == (std::vector<std::vector<std::string>>{{"[ ] " + video, "[ ] " + wad},
                                                             {"[x] " + video, "[x] " + wad}}))
      << ::testing::PrintToString(read);
  const std::string notApplied = " not applied";
  EXPECT_EQ(seen, (std::vector<std::vector<std::string>>{
                      {"[ ] " + video + notApplied, "[ ] " + wad + notApplied},
                      {"[x] " + video + notApplied},
                      {"[x] " + video + notApplied, "[x] " + wad + notApplied},
                      {"[x] " + video + " applied", "[x] " + wad + " applied"},
                      {"[ ] " + video + notApplied, "[ ] " + wad + notApplied},
                      {"[x] " + video + notApplied, "[x] " + wad + notApplied}}));
  ASSERT_EQ(driver.messages.size(), 1u) << ::testing::PrintToString(driver.messages);
  EXPECT_NE(driver.messages[0].find("Missing or changed:"), std::string::npos)
      << driver.messages[0];
  ASSERT_EQ(history.size(), 1u);
  EXPECT_NE(history[0].find("  batch  " + video + ", " + wad), std::string::npos) << history[0];
  EXPECT_EQ(win32::WindowText(harness.Control(win32::kLabelStatus)), "Status: applied");
}

}  // namespace
}  // namespace varnock::testing
