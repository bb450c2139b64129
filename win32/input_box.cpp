#include "win32/input_box.h"

#include "win32/control_ids.h"
#include "win32/fonts.h"
#include "win32/layout.h"
#include "win32/modal_loop.h"
#include "win32/text.h"

namespace varnock::win32 {

namespace {

constexpr int kWidth = 6120;
constexpr int kHeight = 1890;

struct InputBoxState {
  std::string prompt;
  std::string proposed;
  std::optional<std::string> answer;
  int dpi = 96;
  WindowFonts* fonts = nullptr;
};

void CreateInputControls(HWND box, const InputBoxState& state) {
  HFONT font = state.fonts->Dialog();
  HWND prompt = CreateControl(box, L"STATIC", WithCrLf(state.prompt).c_str(),
                              WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kInputPrompt, font);
  HWND ok =
      CreateControl(box, L"BUTTON", "OK", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, font);
  HWND cancel = CreateControl(box, L"BUTTON", "Cancel", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                              IDCANCEL, font);
  HWND answer =
      CreateControl(box, L"EDIT", state.proposed.c_str(),
                    WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | WS_BORDER, kInputAnswer, font, 0);
  Place(prompt, {120, 120, 4560, 1140}, state.dpi);
  Place(ok, {4800, 120, 1200, 345}, state.dpi);
  Place(cancel, {4800, 540, 1200, 345}, state.dpi);
  Place(answer, {120, 1380, 5880, 315}, state.dpi);
  // The proposed answer is selected, so that typing replaces it.
  SendMessageW(answer, EM_SETSEL, 0, -1);
}

LRESULT CALLBACK InputBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(box, GWLP_USERDATA));
  switch (message) {
    case WM_CREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      state = static_cast<InputBoxState*>(create->lpCreateParams);
      SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
      CreateInputControls(box, *state);
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !IsChild(box, GetFocus())) {
        SetFocus(GetDlgItem(box, kInputAnswer));
      }
      return 0;
    case DM_GETDEFID:
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        state->answer = WindowText(GetDlgItem(box, kInputAnswer));
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

void RegisterInputBoxClass() {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(GetModuleHandleW(nullptr), kInputBoxClass, &existing)) {
    return;
  }
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = InputBoxProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kInputBoxClass;
  RegisterClassExW(&windowClass);
}

}  // namespace

std::optional<std::string> RunInputBox(HWND owner, const std::string& prompt,
                                       const std::string& title, const std::string& proposed) {
  RegisterInputBoxClass();
  InputBoxState state;
  state.prompt = prompt;
  state.proposed = proposed;
  state.dpi = ScreenDpi();
  WindowFonts fonts(state.dpi);
  state.fonts = &fonts;
  HWND box = CreateWindowExW(WS_EX_DLGMODALFRAME, kInputBoxClass, Wide(title).c_str(),
                             WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0, owner, nullptr,
                             GetModuleHandleW(nullptr), &state);
  if (box == nullptr) {
    return std::nullopt;
  }
  SizeAndCentre(box, kWidth, kHeight, state.dpi);
  RunModal(box);
  return state.answer;
}

}  // namespace varnock::win32
