#include "win32/fonts.h"

#include <cwchar>

#include "support/paths.h"
#include "win32/text.h"

namespace varnock::win32 {

namespace {

constexpr int kDialogPoints = 825;   // 8.25 points
constexpr int kCourierPoints = 975;  // 9.75 points

// The face of the system's message and dialog text (Tahoma, Segoe UI, ...).
std::wstring DialogFace() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) &&
      metrics.lfMessageFont.lfFaceName[0] != L'\0') {
    return metrics.lfMessageFont.lfFaceName;
  }
  LOGFONTW fallback{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(fallback), &fallback);
  return fallback.lfFaceName;
}

}  // namespace

std::wstring ScalableFace(const std::string& face) {
  if (EqualsIgnoreCase(face, "Courier")) {
    return L"Courier New";
  }
  return Wide(face);
}

HFONT CreatePointFont(const std::wstring& face, int hundredthsOfPoint, int dpi, bool bold,
                      bool fixedPitch) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(hundredthsOfPoint, dpi, 7200);
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_TT_PRECIS;
  font.lfQuality = CLEARTYPE_QUALITY;
  font.lfPitchAndFamily =
      static_cast<BYTE>(fixedPitch ? (FIXED_PITCH | FF_MODERN) : (VARIABLE_PITCH | FF_SWISS));
  wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  return CreateFontIndirectW(&font);
}

WindowFonts::WindowFonts(int dpi)
    : dialog_(CreatePointFont(DialogFace(), kDialogPoints, dpi, false, false)),
      bold_(CreatePointFont(DialogFace(), kDialogPoints, dpi, true, false)),
      courier_(CreatePointFont(ScalableFace("Courier"), kCourierPoints, dpi, false, true)) {}

WindowFonts::~WindowFonts() {
  for (HFONT font : {dialog_, bold_, courier_}) {
    if (font != nullptr) {
      DeleteObject(font);
    }
  }
}

}  // namespace varnock::win32
