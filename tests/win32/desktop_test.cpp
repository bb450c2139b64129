// The window as a desktop user has it: files opened with the program or dropped onto it,
// choices remembered between runs, pickers that start where the user is, access keys.

#include <windows.h>
// After windows.h, which they need.
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>

#include "support/files.h"
#include "support/paths.h"
#include "tests/common/demo_install.h"
#include "tests/win32/gui_harness.h"
#include "tests/win32/modal_driver.h"
#include "tools/demo_engine.h"
#include "win32/control_ids.h"
#include "win32/layout.h"
#include "win32/registry_settings.h"
#include "win32/text.h"

namespace varnock::testing {
namespace {

const char* const kWad = "Patch_ExtraWadTextures.ptc";

std::string ChosenPatch(const MainWindowHarness& harness) {
  return win32::WindowText(harness.Control(win32::kComboPatch));
}

// Files dragged from Explorer and let go over the window, which finishes the drop itself.
void Drop(const MainWindowHarness& harness, const std::vector<std::string>& paths) {
  std::wstring names;
  for (const std::string& path : paths) {
    names += win32::Wide(path);
    names.push_back(L'\0');
  }
  names.push_back(L'\0');
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
  ASSERT_NE(memory, nullptr);
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  std::memcpy(header + 1, names.data(), names.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  SendMessageW(harness.Main(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
  Settle(harness.Main());
}

// A registry key of the current user for one test, deleted with everything below it.
class TestKey {
 public:
  TestKey() : key_(L"Software\\Varnock\\Tests\\" + std::to_wstring(GetCurrentProcessId())) {}
  ~TestKey() { RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }
  TestKey(const TestKey&) = delete;
  TestKey& operator=(const TestKey&) = delete;
  const std::wstring& Name() const { return key_; }

 private:
  std::wstring key_;
};

TEST(Win32Desktop, OpenWithAPatchAndAnExecutable) {
  // As Explorer starts "varnock PATCH EXE", the executable named from the current folder.
  MainWindowHarness harness(false, [](AppEnvironment& environment) {
    environment.openedFiles = {JoinPath(GetParentFolder(environment.ownExecutablePath), kWad),
                               "tomb4.exe"};
  });
  ASSERT_TRUE(harness.Load());
  EXPECT_EQ(harness.Text(win32::kLabelDirSrc), harness.programFolder);
  EXPECT_EQ(ChosenPatch(harness), kWad);
  EXPECT_TRUE(IsWindowVisible(harness.Control(win32::kLabelDynamic)));
  EXPECT_EQ(harness.Text(win32::kLabelNomeExe), harness.exe);
  EXPECT_EQ(harness.Text(win32::kLabelTombVersionNow), tools::kDemoEngineVersion);
}

TEST(Win32Desktop, DroppingAPatchAndThenAnExecutable) {
  MainWindowHarness harness;
  const FilesToDrop files = PlaceFilesToDrop(harness.temp, DemoFile(kWad), harness.exe);
  ASSERT_TRUE(harness.Load());
  ModalDriver driver;

  Drop(harness, {files.patch});
  EXPECT_EQ(harness.Text(win32::kLabelDirSrc), files.patchFolder);
  EXPECT_EQ(SendMessageW(harness.Control(win32::kComboPatch), CB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(ChosenPatch(harness), kWad);

  Drop(harness, {files.exe});
  EXPECT_EQ(harness.Text(win32::kLabelNomeExe), files.exe);
  EXPECT_EQ(harness.Text(win32::kLabelTombVersionNow), tools::kDemoEngineVersion);
  SaveScreenshot(harness.Main(), "main-window-after-drop");

  // The Change picker now opens in the executable's folder, the Patch Folder picker in the
  // patch folder.
  std::string fileFolder;
  std::string patchFolder;
  driver.Then(win32::kPickerClass, [&](HWND picker) {
    HWND folders = GetDlgItem(picker, win32::kDir1);
    wchar_t open[MAX_PATH] = {};
    SendMessageW(folders, LB_GETTEXT, SendMessageW(folders, LB_GETCURSEL, 0, 0),
                 reinterpret_cast<LPARAM>(open));
    fileFolder = win32::Narrow(open);
    PostClick(picker, win32::kPickerCancel);
  });
  harness.Click(win32::kPulChangeTomb);
  driver.Then(win32::kPickerClass, [&](HWND picker) {
    patchFolder = win32::WindowText(GetDlgItem(picker, win32::kTextPath));
    PostClick(picker, win32::kPickerCancel);
  });
  harness.Click(win32::kPulChangeDirSrc);
  EXPECT_EQ(fileFolder, "elsewhere");
  EXPECT_EQ(patchFolder, files.patchFolder);
  EXPECT_TRUE(driver.messages.empty());
  EXPECT_TRUE(driver.unexpected.empty());
}

TEST(Win32Desktop, TheNextRunStartsWithTheLastChoices) {
  const TestKey key;
  win32::RegistrySettings settings(key.Name());
  EXPECT_EQ(settings.Read("PatchFolder"), "");
  MainWindowHarness first(false,
                          [&](AppEnvironment& environment) { environment.settings = &settings; });
  const std::string other = first.temp.File("Ünïcode");
  first.temp.Write(JoinPath("Ünïcode", kWad), ReadWholeFile(DemoFile(kWad)));
  ASSERT_TRUE(first.Load());
  Drop(first, {JoinPath(other, kWad), first.exe});
  SendMessageW(first.Main(), WM_CLOSE, 0, 0);

  win32::RegistrySettings reread(key.Name());
  MainWindowHarness second(false,
                           [&](AppEnvironment& environment) { environment.settings = &reread; });
  ASSERT_TRUE(second.Load());
  EXPECT_EQ(second.Text(win32::kLabelDirSrc), other);
  EXPECT_EQ(second.Text(win32::kLabelNomeExe), first.exe);
  EXPECT_EQ(second.Text(win32::kLabelTombVersionNow), tools::kDemoEngineVersion);
}

TEST(Win32Desktop, AccessKeysPressTheButtons) {
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  ModalDriver driver;
  std::string opened;
  driver.Then(win32::kPickerClass, [&](HWND picker) {
    opened = win32::WindowText(picker);
    PostClick(picker, win32::kPickerCancel);
  });
  // Alt+H, as the window's message loop hands it to the dialog manager.
  MSG key{harness.Control(win32::kComboPatch), WM_SYSCHAR, 'h', 0x20000000, 0, {}};
  EXPECT_TRUE(IsDialogMessageW(harness.Main(), &key));
  Settle(harness.Main());
  EXPECT_EQ(opened, "Select tomb4 to patch");
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(driver.unexpected.empty());
}

}  // namespace
}  // namespace varnock::testing
