#include "win32/app_icon.h"

#include <vector>

#include "win32/icon_image.h"

namespace varnock::win32 {

namespace {

HICON DrawAppIcon(int size) {
  const std::vector<std::uint32_t> pixels = IconPixels(size);
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof(header);
  header.bV5Width = size;
  header.bV5Height = -size;  // rows from the top
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_BITFIELDS;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP colour = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                    &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (colour == nullptr) {
    return nullptr;
  }
  std::copy(pixels.begin(), pixels.end(), static_cast<std::uint32_t*>(bits));
  // The alpha channel shapes the icon; the mask is kept clear.
  const std::vector<BYTE> clearMask(static_cast<std::size_t>((size + 15) / 16 * 2 * size), 0);
  HBITMAP mask = CreateBitmap(size, size, 1, 1, clearMask.data());
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = colour;
  info.hbmMask = mask;
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(colour);
  DeleteObject(mask);
  return icon;
}

}  // namespace

HICON CreateAppIcon(int size) {
  auto* icon =
      static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kAppIconResource),
                                    IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
  return icon != nullptr ? icon : DrawAppIcon(size);
}

}  // namespace varnock::win32
