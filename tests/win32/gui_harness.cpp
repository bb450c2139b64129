#include "tests/win32/gui_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "support/paths.h"
#include "tests/common/demo_install.h"
#include "win32/control_ids.h"
#include "win32/layout.h"

namespace varnock::testing {

std::string BuildPath(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path.starts_with("\\") && !path.starts_with("\\\\") ? "Z:" + path : path;
}

std::string DemoFile(const std::string& name) {
  return JoinPath(BuildPath(VARNOCK_DEMO_DIR), name);
}

MainWindowHarness::MainWindowHarness(bool bundled,
                                     const std::function<void(AppEnvironment&)>& adjust) {
  const DemoInstall install =
      InstallDemo(temp, BuildPath(VARNOCK_DEMO_DIR), "varnock.exe", bundled);
  programFolder = install.programFolder;
  exe = install.exe;
  window = std::make_unique<win32::MainWindow>();
  pickerHost = std::make_unique<win32::Win32PickerWindowHost>(window->Handle());
  picker = std::make_unique<Dialog_GetFileODir>(pickerEnvironment, ui, *pickerHost);
  AppEnvironment environment = DemoEnvironment(install);
  if (adjust) {
    adjust(environment);
  }
  presenter = std::make_unique<MainPresenter>(*window, *picker, ui, environment);
  window->Connect(*presenter);
}

MainWindowHarness::~MainWindowHarness() {
  window.reset();
  Settle(nullptr);
}

bool MainWindowHarness::Load() {
  if (!presenter->Load()) {
    return false;
  }
  window->ShowCentred();
  Settle(Main());
  return true;
}

std::string MainWindowHarness::Text(int id) const {
  return win32::WindowText(Control(id));
}

void MainWindowHarness::Click(int id) const {
  EXPECT_NE(Control(id), nullptr) << "control " << id;
  SendMessageW(Control(id), BM_CLICK, 0, 0);
  Settle(Main());
}

void MainWindowHarness::ChoosePatch(int index) const {
  HWND list = Control(win32::kComboPatch);
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(win32::kComboPatch, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
}

void Settle(HWND window) {
  if (window != nullptr && IsWindow(window)) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  MSG message{};
  for (int round = 0; round < 1000 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++round) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

Picture SaveScreenshot(HWND window, const std::string& name) {
  // Painted, and the paint handed to the display, without running any other message: the
  // picture may be taken while a test's posted actions wait.
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  for (int round = 0; round < 5; ++round) {
    MSG message{};
    while (PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
      DispatchMessageW(&message);
    }
    GdiFlush();
    Sleep(40);
  }
  RECT frame{};
  GetWindowRect(window, &frame);
  Picture picture{frame.right - frame.left, frame.bottom - frame.top, {}};
  // A 32-bit picture, top row first, as the BMP file holds it too.
  BITMAPINFOHEADER header{
      sizeof(header), picture.width, -picture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(memory, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                    &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, picture.width, picture.height, screen, frame.left, frame.top, SRCCOPY);
  GdiFlush();
  const auto* data = static_cast<const std::uint32_t*>(bits);
  picture.pixels.assign(data, data + static_cast<std::size_t>(picture.width) * picture.height);
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  const std::string folder = BuildPath(VARNOCK_SCREENSHOT_DIR);
  CreateDirectoryA(folder.c_str(), nullptr);
  const char* suffix = std::getenv("VARNOCK_SCREENSHOT_SUFFIX");
  std::ofstream out(JoinPath(folder, name + (suffix != nullptr ? suffix : "") + ".bmp"),
                    std::ios::binary);
  const auto imageBytes = static_cast<DWORD>(picture.pixels.size() * 4);
  const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(header);
  const BITMAPFILEHEADER file{0x4D42, offset + imageBytes, 0, 0, offset};
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&header), sizeof(header));
  out.write(reinterpret_cast<const char*>(picture.pixels.data()), imageBytes);
  EXPECT_TRUE(out.good()) << name;
  for (std::uint32_t& pixel : picture.pixels) {
    pixel &= 0x00FFFFFF;
  }
  return picture;
}

}  // namespace varnock::testing
