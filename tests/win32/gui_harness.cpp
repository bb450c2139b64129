#include "tests/win32/gui_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "support/files.h"
#include "support/paths.h"
#include "tests/common/demo_install.h"
#include "win32/control_ids.h"
#include "win32/layout.h"

namespace varnock::testing {

namespace {

void Put(std::ofstream& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
}

// A 24-bit BMP file of the picture.
void WriteBmp(const std::string& path, const Picture& picture) {
  const int stride = (picture.width * 3 + 3) & ~3;
  const std::uint32_t imageBytes = static_cast<std::uint32_t>(stride * picture.height);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write("BM", 2);
  Put(out, 54 + imageBytes, 4);
  Put(out, 0, 4);
  Put(out, 54, 4);
  Put(out, 40, 4);
  Put(out, static_cast<std::uint32_t>(picture.width), 4);
  Put(out, static_cast<std::uint32_t>(picture.height), 4);
  Put(out, 1, 2);
  Put(out, 24, 2);
  Put(out, 0, 4);
  Put(out, imageBytes, 4);
  for (int i = 0; i < 4; ++i) {
    Put(out, 0, 4);
  }
  for (int y = picture.height - 1; y >= 0; --y) {
    for (int x = 0; x < picture.width; ++x) {
      Put(out, picture.At(x, y), 3);
    }
    for (int pad = picture.width * 3; pad < stride; ++pad) {
      out.put('\0');
    }
  }
  EXPECT_TRUE(out.good()) << path;
}

}  // namespace

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
  gameFolder = install.gameFolder;
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
  HWND button = Control(id);
  EXPECT_NE(button, nullptr) << "control " << id;
  SendMessageW(button, BM_CLICK, 0, 0);
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
  Picture picture;
  RECT frame{};
  GetWindowRect(window, &frame);
  picture.width = frame.right - frame.left;
  picture.height = frame.bottom - frame.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, picture.width, picture.height, screen, frame.left, frame.top, SRCCOPY);
  GdiFlush();
  const auto* data = static_cast<const std::uint32_t*>(bits);
  picture.pixels.assign(data, data + static_cast<std::size_t>(picture.width) * picture.height);
  for (std::uint32_t& pixel : picture.pixels) {
    pixel &= 0x00FFFFFF;
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  const std::string folder = BuildPath(VARNOCK_SCREENSHOT_DIR);
  CreateDirectoryA(folder.c_str(), nullptr);
  const char* suffix = std::getenv("VARNOCK_SCREENSHOT_SUFFIX");
  WriteBmp(JoinPath(folder, name + (suffix != nullptr ? suffix : "") + ".bmp"), picture);
  return picture;
}

RECT RectInPicture(HWND control) {
  RECT frame{};
  GetWindowRect(GetAncestor(control, GA_ROOT), &frame);
  RECT box{};
  GetWindowRect(control, &box);
  OffsetRect(&box, -frame.left, -frame.top);
  return box;
}

}  // namespace varnock::testing
