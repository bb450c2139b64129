// varnock.exe started as a program of its own, and its windows found and driven from here.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/paths.h"
#include "support/user_folders.h"
#include "tests/common/temp_dir.h"
#include "tests/win32/gui_harness.h"
#include "tools/demo_engine.h"
#include "win32/control_ids.h"
#include "win32/layout.h"
#include "win32/text.h"

namespace varnock::testing {
namespace {

using win32::Wide;

constexpr DWORD kPatience = 20000;  // milliseconds

class ProgramRun {
 public:
  // `arguments`: the files it is started with, each one quoted.
  explicit ProgramRun(const std::string& exe, const std::vector<std::string>& arguments = {}) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    std::wstring line = L"\"" + Wide(exe) + L"\"";
    for (const std::string& argument : arguments) {
      line += L" \"" + Wide(argument) + L"\"";
    }
    EXPECT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               Wide(GetParentFolder(exe)).c_str(), &startup, &process_));
  }
  ~ProgramRun() {
    TerminateProcess(process_.hProcess, 1);  // nothing when it has ended
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  // The program's visible top-level window of this class; null when none comes in time.
  HWND WaitForWindow(const wchar_t* windowClass) const {
    struct Search {
      DWORD processId;
      const wchar_t* windowClass;
      HWND found;
    } search{process_.dwProcessId, windowClass, nullptr};
    for (DWORD waited = 0; waited < kPatience && search.found == nullptr; waited += 50) {
      Sleep(50);
      EnumWindows(
          [](HWND window, LPARAM data) -> BOOL {
            auto* search = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (owner == search->processId && IsWindowVisible(window) &&
                std::wstring(name) == search->windowClass) {
              search->found = window;
            }
            return search->found == nullptr;
          },
          reinterpret_cast<LPARAM>(&search));
    }
    return search.found;
  }

  // A button of the main window pressed; the message box it brings is read and answered OK.
  std::string Press(HWND window, int button) const {
    PostMessageW(GetDlgItem(window, button), BM_CLICK, 0, 0);
    HWND box = WaitForWindow(L"#32770");
    const std::string text = win32::WindowText(GetDlgItem(box, 0xFFFF));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    for (DWORD waited = 0; IsWindow(box) && waited < kPatience; waited += 20) {
      Sleep(20);
    }
    return text;
  }

  // Closes the main window; the exit code, or -1 when the program has not ended in time.
  long Close(HWND window) const {
    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD code = 0;
    return WaitForSingleObject(process_.hProcess, kPatience) == WAIT_OBJECT_0 &&
                   GetExitCodeProcess(process_.hProcess, &code)
               ? static_cast<long>(code)
               : -1;
  }

 private:
  PROCESS_INFORMATION process_{};
};

std::string Text(HWND window, int id) {
  // Another process's controls give their text only when asked by a message.
  wchar_t text[MAX_PATH] = {};
  SendDlgItemMessageW(window, id, WM_GETTEXT, MAX_PATH, reinterpret_cast<LPARAM>(text));
  return win32::Narrow(text);
}

// The registry entry through which the room editor, and with it the level editor's folder,
// is found.
constexpr const wchar_t* kAppPaths =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\winroomedit.exe";

// Three runs: one that finds tomb4.exe through the level editor in the registry, applies and
// removes a patch and deletes the unpacked bundle at the end; one started with a patch and an
// executable in a folder outside ASCII; one started with nothing, which begins where the one
// before ended.
TEST(Win32ProgramAlone, StartsFromTheRegistryOrItsFilesAndCleansUpAtTheEnd) {
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Varnock");  // nothing remembered
  TempDir temp;
  const std::string exe =
      temp.Write("program\\varnock.exe", ReadWholeFile(BuildPath(VARNOCK_PROGRAM_PATH)));
  const std::string engine = temp.Write("trle\\tomb4.exe", ReadWholeFile(DemoFile("tomb4.exe")));
  const Bytes original = ReadWholeFile(engine);
  const std::string unpacked = temp.File("program\\Patch_ExtraWadTextures.ptc");
  {
    const std::wstring editor = Wide(temp.WriteText("trle\\winroomedit.exe", "room editor"));
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, kAppPaths, nullptr, REG_SZ, editor.c_str(),
                              static_cast<DWORD>((editor.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    ProgramRun run(exe);
    HWND window = run.WaitForWindow(win32::kMainWindowClass);
    ASSERT_NE(window, nullptr) << "no window appeared";
    EXPECT_TRUE(FileExists(unpacked));
    EXPECT_EQ(SendDlgItemMessageW(window, win32::kComboPatch, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(Text(window, win32::kLabelDirSrc), temp.File("program"));
    EXPECT_EQ(Text(window, win32::kLabelNomeExe), engine);
    EXPECT_EQ(run.Press(window, win32::kPulApplyPatch),
              "Ok: applying patch operation has been performed");
    EXPECT_NE(ReadWholeFile(engine), original);
    EXPECT_EQ(run.Press(window, win32::kPulRemovePatch),
              "Ok: removing patch operation has been performed");
    EXPECT_EQ(ReadWholeFile(engine), original);
    EXPECT_EQ(run.Close(window), 0);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kAppPaths);
    EXPECT_FALSE(FileExists(unpacked));
    EXPECT_FALSE(FileExists(temp.File("program\\Patch_ExtraVideoMemory20MB.ptc")));
    EXPECT_TRUE(FileExists(exe));
  }
  const std::string patch = temp.Write("p\xC3\xA4tches\\Patch_ExtraWadTextures.ptc",
                                       ReadWholeFile(DemoFile("Patch_ExtraWadTextures.ptc")));
  const std::string other = temp.Write("game\\tomb4.exe", original);
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{patch, other}, std::vector<std::string>{}}) {
    ProgramRun run(exe, arguments);
    HWND window = run.WaitForWindow(win32::kMainWindowClass);
    ASSERT_NE(window, nullptr) << "no window appeared";
    EXPECT_EQ(Text(window, win32::kLabelDirSrc), GetParentFolder(patch));
    EXPECT_EQ(Text(window, win32::kComboPatch), "Patch_ExtraWadTextures.ptc");
    EXPECT_EQ(Text(window, win32::kLabelNomeExe), other);
    EXPECT_EQ(Text(window, win32::kLabelTombVersionNow), tools::kDemoEngineVersion);
    EXPECT_EQ(run.Close(window), 0);
  }
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Varnock");
}

// The program as installed from the zip where its user may not write: read_only_folder.sh
// makes the folder and names the copy in VARNOCK_READ_ONLY_PROGRAM.
TEST(Win32InstalledProgram, UnpacksItsPatchesForTheUserAndDeletesThemAtTheEnd) {
  const char* exe = std::getenv("VARNOCK_READ_ONLY_PROGRAM");
  if (exe == nullptr) {
    GTEST_SKIP() << "started by read_only_folder.sh";
  }
  ASSERT_FALSE(CanCreateFilesIn(GetParentFolder(exe))) << "the folder can be written";
  const std::string user = UserPatchFolder();
  const std::string unpacked[] = {JoinPath(user, "Patch_ExtraVideoMemory20MB.ptc"),
                                  JoinPath(user, "Patch_ExtraWadTextures.ptc")};
  for (const std::string& file : unpacked) {
    RemoveFile(file);  // left by an earlier run that did not end
  }
  ProgramRun run(exe);
  HWND window = run.WaitForWindow(win32::kMainWindowClass);
  ASSERT_NE(window, nullptr) << "no window appeared";
  EXPECT_EQ(SendDlgItemMessageW(window, win32::kComboPatch, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(Text(window, win32::kLabelDirSrc), user);
  for (const std::string& file : unpacked) {
    EXPECT_TRUE(FileExists(file)) << file;
  }
  EXPECT_EQ(run.Close(window), 0);
  for (const std::string& file : unpacked) {
    EXPECT_FALSE(FileExists(file)) << file;
  }
}

TEST(Win32Program, CarriesItsIconVersionAndManifest) {
  const std::wstring exe = Wide(BuildPath(VARNOCK_PROGRAM_PATH));
  HMODULE module = LoadLibraryExW(exe.c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr);
  EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14)), nullptr);
  HRSRC manifest = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(manifest, nullptr);
  const std::string text(static_cast<const char*>(LockResource(LoadResource(module, manifest))),
                         SizeofResource(module, manifest));
  EXPECT_NE(
      text.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true"),
      std::string::npos);
  FreeLibrary(module);
  DWORD handle = 0;
  std::string block(GetFileVersionInfoSizeW(exe.c_str(), &handle), '\0');
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
  wchar_t* name = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\040904B0\\ProductName",
                             reinterpret_cast<void**>(&name), &length));
  EXPECT_EQ(std::wstring(name), L"Varnock");
}

}  // namespace
}  // namespace varnock::testing
