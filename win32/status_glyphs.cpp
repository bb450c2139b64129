#include "win32/status_glyphs.h"

#include <iterator>

namespace varnock::win32 {

namespace {

// The colour that stands for "no picture here" in the drawn strip.
constexpr COLORREF kClear = RGB(255, 0, 255);

constexpr StatusGroup kGroups[] = {StatusGroup::Pending,    StatusGroup::Applied,
                                   StatusGroup::NotApplied, StatusGroup::Unfit,
                                   StatusGroup::Elsewhere,  StatusGroup::Broken};

// Pen and brush of one shape, chosen into the device context while it is drawn.
class Ink {
 public:
  Ink(HDC dc, COLORREF line, COLORREF fill, int width)
      : dc_(dc),
        pen_(CreatePen(PS_SOLID, width, line)),
        brush_(fill == kClear ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))
                              : CreateSolidBrush(fill)),
        oldPen_(SelectObject(dc, pen_)),
        oldBrush_(SelectObject(dc, brush_)) {}
  ~Ink() {
    SelectObject(dc_, oldPen_);
    SelectObject(dc_, oldBrush_);
    DeleteObject(pen_);
    DeleteObject(brush_);
  }
  Ink(const Ink&) = delete;
  Ink& operator=(const Ink&) = delete;

 private:
  HDC dc_;
  HPEN pen_;
  HBRUSH brush_;
  HGDIOBJ oldPen_;
  HGDIOBJ oldBrush_;
};

// One group's shape in the square from (x, y), `size` wide, with a margin inside.
void DrawGlyph(HDC dc, StatusGroup group, int x, int y, int size) {
  const int m = size / 8;
  const int l = x + m;
  const int t = y + m;
  const int r = x + size - m;
  const int b = y + size - m;
  const int cx = x + size / 2;
  const int line = size >= 24 ? 2 : 1;
  switch (group) {
    case StatusGroup::Pending:
      break;
    case StatusGroup::Applied: {
      const Ink ink(dc, RGB(0, 110, 0), RGB(40, 170, 40), line);
      Ellipse(dc, l, t, r, b);
      break;
    }
    case StatusGroup::NotApplied: {
      const Ink ink(dc, RGB(110, 110, 110), kClear, line + 1);
      Ellipse(dc, l + 1, t + 1, r - 1, b - 1);
      break;
    }
    case StatusGroup::Unfit: {
      const Ink ink(dc, RGB(150, 90, 0), RGB(245, 170, 20), line);
      const POINT triangle[] = {{cx, t}, {r, b - 1}, {l, b - 1}};
      Polygon(dc, triangle, 3);
      break;
    }
    case StatusGroup::Elsewhere: {
      const Ink ink(dc, RGB(0, 60, 140), RGB(70, 130, 220), line);
      Rectangle(dc, l + 1, t + 1, r - 1, b - 1);
      break;
    }
    case StatusGroup::Broken: {
      const Ink cross(dc, RGB(200, 20, 20), kClear, size / 6 + 1);
      MoveToEx(dc, l + 1, t + 1, nullptr);
      LineTo(dc, r - 2, b - 2);
      MoveToEx(dc, r - 2, t + 1, nullptr);
      LineTo(dc, l + 1, b - 2);
      break;
    }
  }
}

}  // namespace

HIMAGELIST CreateStatusImages(int size) {
  constexpr int kCount = static_cast<int>(std::size(kGroups));
  HIMAGELIST images = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, kCount, 0);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP strip = CreateCompatibleBitmap(screen, size * kCount, size);
  ReleaseDC(nullptr, screen);
  HGDIOBJ previous = SelectObject(dc, strip);
  HBRUSH clear = CreateSolidBrush(kClear);
  const RECT all{0, 0, size * kCount, size};
  FillRect(dc, &all, clear);
  DeleteObject(clear);
  for (int i = 0; i < kCount; ++i) {
    DrawGlyph(dc, kGroups[i], i * size, 0, size);
  }
  SelectObject(dc, previous);
  DeleteDC(dc);
  ImageList_AddMasked(images, strip, kClear);
  DeleteObject(strip);
  return images;
}

int StatusImage(StatusGroup group) {
  return static_cast<int>(group);
}

}  // namespace varnock::win32
