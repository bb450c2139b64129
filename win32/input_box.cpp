#include "win32/input_box.h"

#include <algorithm>

#include "support/translation.h"
#include "win32/control_ids.h"
#include "win32/fonts.h"
#include "win32/layout.h"
#include "win32/modal_loop.h"
#include "win32/text.h"
#include "win32/window_class.h"

namespace varnock::win32 {

namespace {

// The box in twips: the prompt on the left, wrapped, and at least as high as the buttons
// beside it; the answer below it.
constexpr int kWidth = 6120;
constexpr int kMargin = 120;
constexpr int kPromptWidth = 4560;
constexpr int kPromptMinHeight = 1140;
constexpr int kAnswerHeight = 315;

class InputBox {
 public:
  InputBox(std::string prompt, std::string proposed)
      : prompt_(WithCrLf(prompt)),
        proposed_(std::move(proposed)),
        dpi_(ScreenDpi()),
        fonts_(dpi_) {}

  std::optional<std::string> Run(HWND owner, const std::string& title) {
    RegisterWindowClass(kInputBoxClass, &OwnerProcedure<InputBox>);
    HWND box = CreateWindowExW(WS_EX_DLGMODALFRAME, kInputBoxClass, Wide(title).c_str(),
                               WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0, owner, nullptr,
                               GetModuleHandleW(nullptr), this);
    if (box == nullptr) {
      return std::nullopt;
    }
    SizeAndCentre(box, kWidth, PromptHeight(box) + kAnswerHeight + 3 * kMargin, dpi_);
    RunModal(box);
    return answer_;
  }

  LRESULT OnMessage(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_CREATE:
        CreateControls(box);
        return 0;
      case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !IsChild(box, GetFocus())) {
          SetFocus(GetDlgItem(box, kInputAnswer));
        }
        return 0;
      case DM_GETDEFID:
        return MAKELRESULT(IDOK, DC_HASDEFID);
      case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
          answer_ = WindowText(GetDlgItem(box, kInputAnswer));
          EndModal(box);
        } else if (LOWORD(wParam) == IDCANCEL) {
          EndModal(box);
        }
        return 0;
      case WM_CLOSE:
        EndModal(box);
        return 0;
      default:
        return DefWindowProcW(box, message, wParam, lParam);
    }
  }

 private:
  // The height, in twips, the prompt needs when its lines are wrapped at its width.
  int PromptHeight(HWND box) const {
    HDC dc = GetDC(box);
    HGDIOBJ previous = SelectObject(dc, fonts_.Dialog());
    const std::wstring text = Wide(prompt_);
    RECT room{0, 0, TwipsToPixels(kPromptWidth, dpi_), 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &room,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, previous);
    ReleaseDC(box, dc);
    return std::max(kPromptMinHeight, MulDiv(room.bottom, 1440, dpi_) + 15);
  }

  void CreateControls(HWND box) {
    HFONT font = fonts_.Dialog();
    HWND prompt =
        CreateControl(box, L"STATIC", prompt_.c_str(),
                      WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, kInputPrompt, font);
    HWND ok = CreateControl(box, L"BUTTON", Tr("OK"), WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                            IDOK, font);
    HWND cancel = CreateControl(box, L"BUTTON", Tr("Cancel"),
                                WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, font);
    HWND answer =
        CreateControl(box, L"EDIT", proposed_.c_str(),
                      WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | WS_BORDER, kInputAnswer, font, 0);
    const int promptHeight = PromptHeight(box);
    Place(prompt, {kMargin, kMargin, kPromptWidth, promptHeight}, dpi_);
    Place(ok, {4800, kMargin, 1200, 345}, dpi_);
    Place(cancel, {4800, 540, 1200, 345}, dpi_);
    Place(answer, {kMargin, promptHeight + 2 * kMargin, kWidth - 2 * kMargin, kAnswerHeight}, dpi_);
    // The proposed answer is selected, so that typing replaces it.
    SendMessageW(answer, EM_SETSEL, 0, -1);
  }

  std::string prompt_;
  std::string proposed_;
  std::optional<std::string> answer_;
  int dpi_;
  WindowFonts fonts_;
};

}  // namespace

std::optional<std::string> RunInputBox(HWND owner, const std::string& prompt,
                                       const std::string& title, const std::string& proposed) {
  InputBox box(prompt, proposed);
  return box.Run(owner, title);
}

}  // namespace varnock::win32
