#include "win32/print_text.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commdlg.h>

#include "support/translation.h"
#include "win32/fonts.h"
#include "win32/text.h"

namespace varnock::win32 {

namespace {

constexpr wchar_t kDocumentName[] = L"Varnock - patch description";

// The default printer's device context, or null. PD_NOWARNING: no box of the system's own
// when there is no printer; the caller reports it.
HDC DefaultPrinterDc() {
  PRINTDLGW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.Flags = PD_RETURNDEFAULT | PD_RETURNDC | PD_NOWARNING;
  if (!PrintDlgW(&dialog)) {
    return nullptr;
  }
  if (dialog.hDevMode != nullptr) {
    GlobalFree(dialog.hDevMode);
  }
  if (dialog.hDevNames != nullptr) {
    GlobalFree(dialog.hDevNames);
  }
  return dialog.hDC;
}

// The printable area less a margin of half an inch where the paper allows it.
RECT PageArea(HDC printer) {
  const int width = GetDeviceCaps(printer, HORZRES);
  const int height = GetDeviceCaps(printer, VERTRES);
  const int marginX = GetDeviceCaps(printer, LOGPIXELSX) / 2;
  const int marginY = GetDeviceCaps(printer, LOGPIXELSY) / 2;
  const bool roomy = width > 4 * marginX && height > 4 * marginY;
  return roomy ? RECT{marginX, marginY, width - marginX, height - marginY}
               : RECT{0, 0, width, height};
}

// Draws the text page after page; false when the printer refuses a page.
bool PrintPages(HDC printer, const std::wstring& text) {
  const RECT area = PageArea(printer);
  const UINT format = DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL;
  // The lines that fit a page are found by measuring ever shorter pieces: cheap for a
  // description of a few screens.
  std::size_t start = 0;
  do {
    std::size_t count = text.size() - start;
    while (count > 1) {
      RECT measure = area;
      DrawTextW(printer, text.c_str() + start, static_cast<int>(count), &measure,
                format | DT_CALCRECT);
      if (measure.bottom <= area.bottom) {
        break;
      }
      // Back to the line end before the last one that still fits, at least one character.
      const std::size_t shorter = text.rfind(L'\n', start + count - 2);
      count = shorter != std::wstring::npos && shorter >= start ? shorter - start + 1 : count / 2;
    }
    if (StartPage(printer) <= 0) {
      return false;
    }
    RECT box = area;
    DrawTextW(printer, text.c_str() + start, static_cast<int>(count), &box, format);
    if (EndPage(printer) <= 0) {
      return false;
    }
    start += count;
  } while (start < text.size());
  return true;
}

}  // namespace

bool PrintOnDefaultPrinter(const std::string& text, const std::string& face, int points,
                           std::string& error) {
  HDC printer = DefaultPrinterDc();
  if (printer == nullptr) {
    error = Tr("No default printer is installed.");
    return false;
  }
  HFONT font = CreatePointFont(ScalableFace(face), points * 100, GetDeviceCaps(printer, LOGPIXELSY),
                               false, true);
  HGDIOBJ previous = SelectObject(printer, font);
  DOCINFOW document{};
  document.cbSize = sizeof(document);
  document.lpszDocName = kDocumentName;
  bool printed = false;
  if (StartDocW(printer, &document) > 0) {
    // One block of text followed by a line end.
    printed = PrintPages(printer, Wide(WithCrLf(text + "\n")));
    if (printed) {
      printed = EndDoc(printer) > 0;
    } else {
      AbortDoc(printer);
    }
  }
  if (!printed) {
    error = Tr("The printer did not accept the document.");
  }
  SelectObject(printer, previous);
  DeleteObject(font);
  DeleteDC(printer);
  return printed;
}

}  // namespace varnock::win32
