#include "win32/folder_glyph.h"

namespace varnock::win32 {

namespace {

constexpr COLORREF kOutline = RGB(128, 96, 0);
constexpr COLORREF kBody = RGB(240, 200, 80);
constexpr COLORREF kFlap = RGB(255, 232, 150);

void Polygon(HDC dc, const POINT* points, int count, COLORREF fill) {
  HBRUSH brush = CreateSolidBrush(fill);
  HPEN pen = CreatePen(PS_SOLID, 1, kOutline);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  ::Polygon(dc, points, count);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

}  // namespace

void DrawFolderGlyph(HDC dc, int x, int y, int size, bool open) {
  const int w = size;
  const int h = size * 3 / 4;
  const int tab = size * 2 / 5;
  const int top = y + size / 8;
  // The back with its tab.
  const POINT back[] = {
      {x, top + 2},         {x + 1, top},         {x + tab, top}, {x + tab + 2, top + 2},
      {x + w - 1, top + 2}, {x + w - 1, top + h}, {x, top + h}};
  Polygon(dc, back, 7, kBody);
  if (open) {
    // The front flap, tilted forward.
    const POINT flap[] = {
        {x + w / 4, top + h / 3}, {x + w, top + h / 3}, {x + w - w / 4, top + h}, {x, top + h}};
    Polygon(dc, flap, 4, kFlap);
  }
}

}  // namespace varnock::win32
