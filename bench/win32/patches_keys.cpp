// The cost of a key in the Win32 Patches window: the window opened over a folder, its statuses
// computed, then arrow and Page Down keys pressed in its list, each handled and drawn before
// the next. Prints the program's own CPU time and the wall time per key, and whether the
// description shown is the selected row's.
//   varnock-bench-keys FOLDER EXE KEYS
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "engine/catalogue.h"
#include "engine/silent_ui.h"
#include "target/exe_version.h"
#include "win32/control_ids.h"
#include "win32/layout.h"
#include "win32/main_window.h"
#include "win32/patches_window.h"
#include "win32/text.h"

namespace {

using namespace varnock;

// Every message waiting handled, and the windows drawn.
void Settle() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

double CpuSeconds() {
  FILETIME created{};
  FILETIME exited{};
  FILETIME kernel{};
  FILETIME user{};
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  const auto seconds = [](const FILETIME& time) {
    return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) |
                               time.dwLowDateTime) /
           1e7;
  };
  return seconds(kernel) + seconds(user);
}

std::string CellText(HWND list, int row) {
  wchar_t text[512] = {};
  LVITEMW item{};
  item.pszText = text;
  item.cchTextMax = 512;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return win32::Narrow(text);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: varnock-bench-keys FOLDER EXE KEYS\n");
    return 2;
  }
  const std::string folder = argv[1];
  const std::string exe = argv[2];
  const int keys = std::atoi(argv[3]);
  win32::MainWindow owner;  // registers the common controls, as the program does
  SilentUi ui;
  PatchesRequest request;
  request.folder = folder;
  request.exePath = exe;
  PatchRecord record;
  for (CatalogueEntry& entry : BuildCatalogue(folder, GetExeVersion(exe, ui), record, ui)) {
    request.fileNames.push_back(std::move(entry.fileName));
  }
  win32::PatchesWindow window(owner.Handle(), ui, request);
  if (window.Handle() == nullptr) {
    std::fprintf(stderr, "no window: run under a display\n");
    return 1;
  }
  ShowWindow(window.Handle(), SW_SHOW);
  window.Presenter().Open();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(10);
  while (window.Presenter().Status().entries.empty() &&
         std::chrono::steady_clock::now() < deadline) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    Settle();
  }
  HWND list = GetDlgItem(window.Handle(), win32::kListPatches);
  SetFocus(list);
  ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  Settle();
  const double cpuStart = CpuSeconds();
  const auto wallStart = std::chrono::steady_clock::now();
  for (int i = 0; i < keys; ++i) {
    const WPARAM key = i % 10 == 9 ? VK_NEXT : VK_DOWN;
    SendMessageW(list, WM_KEYDOWN, key, 1);
    SendMessageW(list, WM_KEYUP, key, 0xC0000001);
    UpdateWindow(window.Handle());
    Settle();
  }
  const double cpu = CpuSeconds() - cpuStart;
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  // Outside the timing: the selected row asked of the list, and its patch's description.
  const int selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
  const FolderStatus& status = window.Presenter().Status();
  const auto index = selected < 0 ? std::nullopt : status.IndexOf(CellText(list, selected));
  const std::string shown =
      win32::WindowText(GetDlgItem(window.Handle(), win32::kPatchesDescription));
  std::string expected = index ? status.entries[*index].description : "?";
  std::string plain;
  for (const char c : shown) {
    if (c != '\r') {
      plain += c;
    }
  }
  std::printf("rows=%zu selected=%d key_cpu_us=%.1f key_wall_us=%.1f follows=%d\n",
              request.fileNames.size(), selected, cpu / keys * 1e6, wall / keys * 1e6,
              plain == expected ? 1 : 0);
  window.Presenter().CloseClicked();
  Settle();
  return 0;
}
