// The main window over the real presenter, at the screen's dots per inch (96, and 144 on the
// run of at_dpi.sh).
#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>

#include "support/files.h"
#include "support/paths.h"
#include "tests/win32/gui_harness.h"
#include "tests/win32/modal_driver.h"
#include "tools/demo_engine.h"
#include "win32/control_ids.h"
#include "win32/layout.h"
#include "win32/text.h"

namespace varnock::testing {
namespace {

// Files dragged from Explorer and let go over the window.
void DropFiles(HWND window, const std::vector<std::string>& paths) {
  std::wstring names;
  for (const std::string& path : paths) {
    names += win32::Wide(path) + L'\0';
  }
  names.push_back(L'\0');
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  std::memcpy(header + 1, names.data(), names.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
  Settle(window);  // the window finishes the drop itself
}

// The Tab key pressed in the focused control, handled as the program's message loop does.
void PressTab(HWND window) {
  MSG key{GetFocus(), WM_KEYDOWN, VK_TAB, 1, GetTickCount(), {}};
  EXPECT_TRUE(IsDialogMessageW(window, &key));
}

// A user's session: the window built from its design, the patches listed at start-up, the
// description left with the Tab key, a patch and the program dropped onto the window and
// painted, the patch applied twice and removed, and the window closed, which deletes the
// patches unpacked from the bundle. The picture is taken from the screen: no
// other test's window may cover the window meanwhile.
TEST(Win32MainWindowAlone, FromStartUpToCloseBuiltFromItsDesign) {
  MainWindowHarness harness(true);
  const std::string patch =
      harness.temp.Write("\xC3\x9Cn\xC3\xAF code\\Patch_ExtraWadTextures.ptc",
                         ReadWholeFile(DemoFile("Patch_ExtraWadTextures.ptc")));
  ASSERT_TRUE(harness.Load());
  ExpectBuiltFromDesign(harness.Main(), kMainWindowDesign, win32::kMainControlBase);
  EXPECT_EQ(win32::WindowText(harness.Main()), kMainWindowCaption);
  EXPECT_EQ(GetWindowLongPtrW(harness.Main(), GWL_STYLE) &
                (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
            WS_CAPTION | WS_SYSMENU);
  EXPECT_EQ(harness.Shown(), harness.programFolder + "|2||");
  EXPECT_EQ(harness.Text(win32::kLabelTombVersion), tools::kDemoEngineVersion);
  // Each line of the description on a line of its own.
  HWND description = harness.Control(win32::kTextDescription);
  EXPECT_EQ(win32::WindowText(description).rfind("Extra video memory (20 MB)\r\n\r\n", 0), 0u);
  // Tabbing into the read-only description selects nothing, and the Tab key leaves it.
  EXPECT_EQ(GetFocus(), harness.Control(win32::kComboPatch));
  PressTab(harness.Main());
  ASSERT_EQ(GetFocus(), description);
  const auto selection = static_cast<DWORD>(SendMessageW(description, EM_GETSEL, 0, 0));
  EXPECT_EQ(LOWORD(selection), HIWORD(selection)) << "the text is selected";
  PressTab(harness.Main());
  EXPECT_EQ(GetDlgCtrlID(GetFocus()), win32::kPulChangeTomb);

  DropFiles(harness.Main(), {patch, harness.exe});
  EXPECT_EQ(harness.Shown(), GetParentFolder(patch) + "|1|" + harness.exe + "|" +
                                 tools::kDemoEngineVersion + "|dynamic");
  // The value fields green on dark green, the dynamic patch's marker red.
  const Screenshot picture(harness.Main(), "main-window");
  for (int id : {win32::kLabelTombVersion, win32::kLabelDirSrc, win32::kTextDescription}) {
    const auto [dark, all] = picture.Count(harness.Control(id), 0x004000, 2);
    EXPECT_GT(dark, all / 2) << "field " << id;
    EXPECT_GT(picture.Count(harness.Control(id), 0x00FF00, 2).first, 20) << "text in " << id;
  }
  EXPECT_GT(picture.Count(harness.Control(win32::kLabelDynamic), 0xFF0000, 0).first, 20);
  ModalDriver driver;
  const Bytes original = ReadWholeFile(harness.exe);
  harness.Click(win32::kPulApplyPatch);
  harness.Click(win32::kPulApplyPatch);
  const Bytes applied = ReadWholeFile(harness.exe);
  harness.Click(win32::kPulRemovePatch);
  EXPECT_NE(applied, original);
  EXPECT_EQ(applied.size(), original.size());
  EXPECT_EQ(ReadWholeFile(harness.exe), original);
  EXPECT_EQ(driver.messages, (std::vector<std::string>{
                                 "Ok: applying patch operation has been performed",
                                 "WARNING: applying patch operation was already been performed",
                                 "Ok: removing patch operation has been performed"}));

  const std::string unpacked = JoinPath(harness.programFolder, "Patch_ExtraWadTextures.ptc");
  EXPECT_TRUE(FileExists(unpacked));
  harness.Click(win32::kPulCancel);
  EXPECT_EQ(harness.Main(), nullptr);
  EXPECT_FALSE(FileExists(unpacked));
  EXPECT_FALSE(FileExists(JoinPath(harness.programFolder, "Patch_ExtraVideoMemory20MB.ptc")));
  EXPECT_TRUE(FileExists(JoinPath(harness.programFolder, "varnock.exe")));
}

}  // namespace
}  // namespace varnock::testing
