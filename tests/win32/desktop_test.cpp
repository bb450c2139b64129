// The window as a desktop user has it: files dropped onto it, choices remembered between runs
// in the registry.
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
#include "win32/registry_settings.h"
#include "win32/text.h"

namespace varnock::testing {
namespace {

// Files dragged from Explorer and let go over the window, which finishes the drop itself.
void Drop(const MainWindowHarness& harness, const std::vector<std::string>& paths) {
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
  SendMessageW(harness.Main(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
  Settle(harness.Main());
}

TEST(Win32Desktop, DroppedFilesAreOpenedAndTheNextRunStartsWithThem) {
  const std::wstring key = L"Software\\Varnock\\Tests\\" + std::to_wstring(GetCurrentProcessId());
  win32::RegistrySettings settings(key);
  const char* const wad = "Patch_ExtraWadTextures.ptc";
  std::string folder;
  std::string exe;
  {
    MainWindowHarness first(false, [&](AppEnvironment& environment) {
      environment.settings = &settings;
    });
    folder = first.temp.File("\xC3\x9Cn\xC3\xAF" "code");  // outside ASCII
    first.temp.Write(JoinPath(GetFileName(folder), wad), ReadWholeFile(DemoFile(wad)));
    exe = first.exe;
    ASSERT_TRUE(first.Load());
    Drop(first, {JoinPath(folder, wad), exe});
    EXPECT_EQ(first.Text(win32::kLabelDirSrc), folder);
    EXPECT_EQ(SendMessageW(first.Control(win32::kComboPatch), CB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(first.Text(win32::kComboPatch), wad);
    EXPECT_TRUE(IsWindowVisible(first.Control(win32::kLabelDynamic)));
    EXPECT_EQ(first.Text(win32::kLabelNomeExe), exe);
    SendMessageW(first.Main(), WM_CLOSE, 0, 0);

    win32::RegistrySettings reread(key);
    MainWindowHarness second(false, [&](AppEnvironment& environment) {
      environment.settings = &reread;
    });
    ASSERT_TRUE(second.Load());
    EXPECT_EQ(second.Text(win32::kLabelDirSrc), folder);
    EXPECT_EQ(second.Text(win32::kLabelNomeExe), exe);
    EXPECT_EQ(second.Text(win32::kLabelTombVersionNow), tools::kDemoEngineVersion);
  }
  RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
}

}  // namespace
}  // namespace varnock::testing
