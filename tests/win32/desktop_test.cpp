// Files dragged from Explorer and let go over the window: a patch and an executable.
#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>

#include "support/files.h"
#include "support/paths.h"
#include "tests/win32/gui_harness.h"
#include "tools/demo_engine.h"
#include "win32/control_ids.h"
#include "win32/layout.h"
#include "win32/text.h"

namespace varnock::testing {
namespace {

TEST(Win32Desktop, DroppedFilesAreOpened) {
  MainWindowHarness harness;
  const char* const wad = "Patch_ExtraWadTextures.ptc";
  const std::string patch = harness.temp.Write(
      "\xC3\x9Cn\xC3\xAF"
      "code\\Patch_ExtraWadTextures.ptc",
      ReadWholeFile(DemoFile(wad)));
  ASSERT_TRUE(harness.Load());
  std::wstring names;
  for (const std::string& path : {patch, harness.exe}) {
    names += win32::Wide(path) + L'\0';
  }
  names.push_back(L'\0');
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  std::memcpy(header + 1, names.data(), names.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  SendMessageW(harness.Main(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
  Settle(harness.Main());  // the window finishes the drop itself
  EXPECT_EQ(harness.Text(win32::kLabelDirSrc), GetParentFolder(patch));
  EXPECT_EQ(SendMessageW(harness.Control(win32::kComboPatch), CB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(harness.Text(win32::kComboPatch), wad);
  EXPECT_TRUE(IsWindowVisible(harness.Control(win32::kLabelDynamic)));
  EXPECT_EQ(harness.Text(win32::kLabelNomeExe), harness.exe);
  EXPECT_EQ(harness.Text(win32::kLabelTombVersionNow), tools::kDemoEngineVersion);
}

}  // namespace
}  // namespace varnock::testing
