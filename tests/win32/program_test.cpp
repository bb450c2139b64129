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

std::string ProgramPath() {
  return BuildPath(VARNOCK_PROGRAM_PATH);
}

// The registry entry through which the room editor, and with it the level editor's folder,
// is found; removed again when the object goes.
class AppPathsEntry {
 public:
  AppPathsEntry(const std::string& name, const std::string& value)
      : key_(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + Wide(name)) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::wstring data = Wide(value);
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }
  ~AppPathsEntry() { RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), KEY_WOW64_32KEY, 0); }
  AppPathsEntry(const AppPathsEntry&) = delete;
  AppPathsEntry& operator=(const AppPathsEntry&) = delete;

 private:
  std::wstring key_;
};

// varnock.exe started as a program of its own, and its windows found and driven from here.
class ProgramRun {
 public:
  // `arguments`: the files it is started with, each one quoted.
  explicit ProgramRun(const std::string& exe, const std::vector<std::string>& arguments = {}) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    std::wstring commandLine = L"\"" + Wide(exe) + L"\"";
    for (const std::string& argument : arguments) {
      commandLine += L" \"" + Wide(argument) + L"\"";
    }
    started_ = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              Wide(GetParentFolder(exe)).c_str(), &startup, &process_) != FALSE;
  }
  ~ProgramRun() {
    if (started_) {
      if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 1);
      }
      CloseHandle(process_.hThread);
      CloseHandle(process_.hProcess);
    }
  }
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  bool Started() const { return started_; }

  // The program's visible top-level window of this class; null when none comes in time.
  HWND WaitForWindow(const wchar_t* windowClass) const {
    for (DWORD waited = 0; waited < kPatience; waited += 50) {
      Search search{process_.dwProcessId, windowClass, nullptr};
      EnumWindows(&ProgramRun::Match, reinterpret_cast<LPARAM>(&search));
      if (search.found != nullptr) {
        return search.found;
      }
      Sleep(50);
    }
    return nullptr;
  }

  // Waits for the program's message box, reads it and answers OK; empty when none came.
  std::string AnswerMessage() const {
    HWND box = WaitForWindow(L"#32770");
    if (box == nullptr) {
      return {};
    }
    const std::string text = win32::WindowText(GetDlgItem(box, 0xFFFF));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    for (DWORD waited = 0; IsWindow(box) && waited < kPatience; waited += 20) {
      Sleep(20);
    }
    return text;
  }

  // The exit code, or -1 when the program has not ended in time.
  long WaitForExit() const {
    if (WaitForSingleObject(process_.hProcess, kPatience) != WAIT_OBJECT_0) {
      return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<long>(code);
  }

 private:
  struct Search {
    DWORD processId;
    const wchar_t* windowClass;
    HWND found;
  };
  static BOOL CALLBACK Match(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (owner == search->processId && IsWindowVisible(window) &&
        std::wstring(name) == search->windowClass) {
      search->found = window;
      return FALSE;
    }
    return TRUE;
  }

  PROCESS_INFORMATION process_{};
  bool started_ = false;
};

std::string Text(HWND window, int id) {
  return win32::WindowText(GetDlgItem(window, id));
}

// The program's own settings key of the current user, emptied before and after a test.
class OwnSettings {
 public:
  OwnSettings() { Clear(); }
  ~OwnSettings() { Clear(); }
  OwnSettings(const OwnSettings&) = delete;
  OwnSettings& operator=(const OwnSettings&) = delete;

 private:
  static void Clear() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Varnock"); }
};

TEST(Win32ProgramAlone, RunsWithTheEditorFoundInTheRegistryAndCleansUpAtTheEnd) {
  const OwnSettings settings;  // nothing remembered from another run
  TempDir temp;
  const std::string exe = temp.Write("program\\varnock.exe", ReadWholeFile(ProgramPath()));
  const std::string engine = temp.Write("trle\\tomb4.exe", ReadWholeFile(DemoFile("tomb4.exe")));
  const std::string editor = temp.WriteText("trle\\winroomedit.exe", "room editor");
  const AppPathsEntry entry("winroomedit.exe", editor);
  const Bytes original = ReadWholeFile(engine);

  ProgramRun run(exe);
  ASSERT_TRUE(run.Started());
  HWND window = run.WaitForWindow(win32::kMainWindowClass);
  ASSERT_NE(window, nullptr) << "no window appeared";
  // Start-up unpacked the bundle beside the program and found tomb4.exe in the editor's folder.
  const std::string unpacked = temp.File("program\\Patch_ExtraWadTextures.ptc");
  EXPECT_TRUE(FileExists(unpacked));
  EXPECT_EQ(SendDlgItemMessageW(window, win32::kComboPatch, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(Text(window, win32::kLabelDirSrc), temp.File("program"));
  EXPECT_EQ(Text(window, win32::kLabelNomeExe), engine);
  EXPECT_EQ(Text(window, win32::kLabelTombVersionNow), tools::kDemoEngineVersion);

  PostMessageW(GetDlgItem(window, win32::kPulApplyPatch), BM_CLICK, 0, 0);
  EXPECT_EQ(run.AnswerMessage(), "Ok: applying patch operation has been performed");
  const Bytes applied = ReadWholeFile(engine);
  PostMessageW(GetDlgItem(window, win32::kPulRemovePatch), BM_CLICK, 0, 0);
  EXPECT_EQ(run.AnswerMessage(), "Ok: removing patch operation has been performed");
  EXPECT_NE(applied, original);
  EXPECT_EQ(ReadWholeFile(engine), original);

  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(run.WaitForExit(), 0);
  EXPECT_FALSE(FileExists(unpacked));
  EXPECT_FALSE(FileExists(temp.File("program\\Patch_ExtraVideoMemory20MB.ptc")));
  EXPECT_TRUE(FileExists(exe));
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
  ASSERT_FALSE(user.empty());
  const std::string unpacked[] = {JoinPath(user, "Patch_ExtraVideoMemory20MB.ptc"),
                                  JoinPath(user, "Patch_ExtraWadTextures.ptc")};
  for (const std::string& file : unpacked) {
    RemoveFile(file);  // left by an earlier run that did not end
  }

  ProgramRun run(exe);
  ASSERT_TRUE(run.Started());
  HWND window = run.WaitForWindow(win32::kMainWindowClass);
  ASSERT_NE(window, nullptr) << "no window appeared";
  EXPECT_EQ(SendDlgItemMessageW(window, win32::kComboPatch, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(Text(window, win32::kLabelDirSrc), user);
  for (const std::string& file : unpacked) {
    EXPECT_TRUE(FileExists(file)) << file;
  }

  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(run.WaitForExit(), 0);
  for (const std::string& file : unpacked) {
    EXPECT_FALSE(FileExists(file)) << file;
  }
}

TEST(Win32ProgramAlone, OpensThePatchAndExecutableItIsStartedWithAndRemembersThem) {
  const OwnSettings settings;
  TempDir temp;
  const std::string exe = temp.Write("program\\varnock.exe", ReadWholeFile(ProgramPath()));
  const std::string patch = temp.Write("patches\\Patch_ExtraWadTextures.ptc",
                                       ReadWholeFile(DemoFile("Patch_ExtraWadTextures.ptc")));
  const std::string engine = temp.Write("game\\tomb4.exe", ReadWholeFile(DemoFile("tomb4.exe")));
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{patch, engine}, std::vector<std::string>{}}) {
    ProgramRun run(exe, arguments);
    ASSERT_TRUE(run.Started());
    HWND window = run.WaitForWindow(win32::kMainWindowClass);
    ASSERT_NE(window, nullptr) << "no window appeared";
    // The second run, started with nothing, begins where the first one ended.
    EXPECT_EQ(Text(window, win32::kLabelDirSrc), temp.File("patches"));
    // The patch opened is the one chosen. Another process's list gives its text only when
    // asked by a message.
    wchar_t chosen[MAX_PATH] = {};
    SendDlgItemMessageW(window, win32::kComboPatch, WM_GETTEXT, MAX_PATH,
                        reinterpret_cast<LPARAM>(chosen));
    EXPECT_EQ(win32::Narrow(chosen), "Patch_ExtraWadTextures.ptc");
    EXPECT_EQ(Text(window, win32::kLabelNomeExe), engine);
    EXPECT_EQ(Text(window, win32::kLabelTombVersionNow), tools::kDemoEngineVersion);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.WaitForExit(), 0);
  }
}

TEST(Win32Program, CarriesItsIconVersionAndManifest) {
  const std::wstring exe = Wide(ProgramPath());
  HMODULE module = LoadLibraryExW(exe.c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr);
  // The icon group (14) and the manifest (24).
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
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::string block(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));
  wchar_t* name = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\040904B0\\ProductName",
                             reinterpret_cast<void**>(&name), &length));
  EXPECT_EQ(std::wstring(name), L"Varnock");
}

}  // namespace
}  // namespace varnock::testing
