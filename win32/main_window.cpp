#include "win32/main_window.h"

#include <string>
#include <vector>
// After windows.h, which it needs.
#include <commctrl.h>

#include "app/access_keys.h"
#include "app/main_presenter.h"
#include "win32/app_icon.h"
#include "win32/control_ids.h"
#include "win32/design_controls.h"
#include "win32/layout.h"
#include "win32/patches_window.h"
#include "win32/print_text.h"
#include "win32/read_only_box.h"
#include "win32/text.h"
#include "win32/win32_user_interface.h"
#include "win32/window_class.h"

namespace varnock::win32 {

namespace {

// The room between a value field's border and its text, in twips.
constexpr int kValueIndent = 45;

HWND ControlIn(HWND window, std::string_view name) {
  return GetDlgItem(window, MainControlId(name));
}

}  // namespace

MainWindow::MainWindow() : dpi_(ScreenDpi()), fonts_(dpi_) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&controls);
  RegisterWindowClass(kMainWindowClass, &OwnerProcedure<MainWindow>);
  // A fixed dialog frame without minimise and maximise buttons.
  window_ = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kMainWindowClass,
                            Wide(std::string(kMainWindowCaption)).c_str(),
                            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                            0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (window_ == nullptr) {
    return;
  }
  bigIcon_ = CreateAppIcon(GetSystemMetrics(SM_CXICON));
  smallIcon_ = CreateAppIcon(GetSystemMetrics(SM_CXSMICON));
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  CreateControls();
  SizeAndCentre(window_, kMainWindowDesign.width, kMainWindowDesign.height, dpi_);
  DragAcceptFiles(window_, TRUE);
}

MainWindow::~MainWindow() {
  if (window_ != nullptr && IsWindow(window_)) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  for (HICON icon : {bigIcon_, smallIcon_}) {
    if (icon != nullptr) {
      DestroyIcon(icon);
    }
  }
}

void MainWindow::CreateControls() {
  BuildControls(window_, kMainWindowDesign, kMainControlBase, fonts_, dpi_);
  combo_ = Control(kComboPatch);
  FitComboHeight();
  KeepTabsOut(Control(kTextDescription));
  AddToolTips();
  focus_.SetFirst(combo_);
}

void MainWindow::AddToolTips() {
  toolTips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  if (toolTips_ == nullptr) {
    return;
  }
  for (const ControlDesign& control : kMainWindowControls) {
    if (control.kind != ControlKind::ValueLabel && control.name != "Label_Status") {
      continue;
    }
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(ControlIn(window_, control.name));
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

// The closed list is as high as the design says.
void MainWindow::FitComboHeight() {
  varnock::win32::FitComboHeight(
      combo_, kMainWindowControls[IndexOf(kMainWindowControls, "Combo_Patch")].box, dpi_);
}

void MainWindow::ShowCentred() {
  SizeAndCentre(window_, kMainWindowDesign.width, kMainWindowDesign.height, dpi_);
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  SetForegroundWindow(window_);
  focus_.OnActivate(window_, true);
}

LRESULT MainWindow::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      window_ = window;
      break;
    case WM_NCDESTROY:
      window_ = nullptr;
      break;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM:
      DrawValueField(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_ACTIVATE:
      focus_.OnActivate(window_, LOWORD(wParam) != WA_INACTIVE);
      // Back from another program: the files on disk may have changed meanwhile.
      if (LOWORD(wParam) != WA_INACTIVE && presenter_ != nullptr) {
        presenter_->WindowActivated();
      }
      return 0;
    case WM_NEXTDLGCTL:
      // A control asks to pass the focus on: to a given control, or to the next or previous
      // one in tab order.
      SetFocus(LOWORD(lParam) != 0
                   ? reinterpret_cast<HWND>(wParam)
                   : GetNextDlgTabItem(window_, GetFocus(), static_cast<BOOL>(wParam != 0)));
      return 0;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_CLOSE:
      // The close box: the unload handler runs, and closing is never refused.
      if (presenter_ != nullptr) {
        presenter_->Unload();
      }
      DestroyWindow(window_);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void MainWindow::OnCommand(int id, int code) {
  if (presenter_ == nullptr) {
    return;
  }
  if (id == kComboPatch) {
    if (code == CBN_SELCHANGE) {
      presenter_->PatchClicked();
    }
    return;
  }
  if (id == IDOK) {
    // The Enter key presses the button that has the focus; no button is the default.
    HWND focus = GetFocus();
    if (focus != nullptr && GetParent(focus) == window_) {
      const int focused = GetDlgCtrlID(focus);
      if (focused != kComboPatch && focused != kTextDescription) {
        OnCommand(focused, BN_CLICKED);
      }
    }
    return;
  }
  if (code != BN_CLICKED) {
    return;
  }
  switch (id) {
    case kPulApplyPatch:
      presenter_->ApplyClicked();
      break;
    case kPulRemovePatch:
      presenter_->RemoveClicked();
      break;
    case kPulChangeDirSrc:
      presenter_->ChangePatchFolderClicked();
      break;
    case kPulChangeTomb:
      presenter_->ChangeTargetClicked();
      break;
    case kPulStampaDescription:
      presenter_->PrintClicked();
      break;
    case kPulCancel:
      presenter_->CloseClicked();
      break;
    case kPulAllPatches:
      presenter_->AllPatchesClicked();
      break;
    default:
      break;
  }
}

// Files dropped onto the window are opened: patches and the executable to patch.
void MainWindow::OnDropFiles(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
    paths.push_back(Narrow(path));
  }
  DragFinish(drop);
  if (presenter_ != nullptr && !paths.empty()) {
    presenter_->FilesDropped(paths);
  }
}

LRESULT MainWindow::OnControlColour(HDC dc, HWND control) {
  if (control == Control(kTextDescription)) {
    return look_.Paint(dc);
  }
  if (control == Control(kLabelDynamic)) {
    SetTextColor(dc, kMarkerText);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  }
  return DefWindowProcW(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                        reinterpret_cast<LPARAM>(control));
}

// A value field: bright green text on dark green, on one line, shortened with an ellipsis in
// the middle of a path that does not fit.
void MainWindow::DrawValueField(const DRAWITEMSTRUCT& item) const {
  HDC dc = item.hDC;
  look_.Paint(dc);
  HBRUSH back = CreateSolidBrush(kValueBack);
  FillRect(dc, &item.rcItem, back);
  DeleteObject(back);
  HGDIOBJ previous = SelectObject(dc, fonts_.Dialog());
  RECT text = item.rcItem;
  text.left += TwipsToPixels(kValueIndent, dpi_);
  text.right -= TwipsToPixels(kValueIndent, dpi_);
  const std::wstring shown = Wide(WindowText(item.hwndItem));
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &text,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_PATH_ELLIPSIS);
  SelectObject(dc, previous);
}

void MainWindow::SetToolTip(HWND control, const std::string& text) const {
  const std::wstring wide = Wide(text);
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = const_cast<wchar_t*>(wide.c_str());
  SendMessageW(toolTips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

// The list is filled without being drawn: the whole catalogue goes in before the first item
// is selected, and drawing and sizing it after every one of thousands of items would cost
// more than the items themselves. The list's handle is kept, as looking a control up asks the
// system's window server each time.
void MainWindow::ClearPatchList() {
  SendMessageW(combo_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
  filling_ = true;
}

void MainWindow::AddPatchItem(const std::string& text) {
  SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

void MainWindow::SelectPatchItem(int index) {
  if (filling_) {
    filling_ = false;
    SendMessageW(combo_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(combo_, nullptr, TRUE);
  }
  SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int MainWindow::SelectedPatchIndex() const {
  return static_cast<int>(SendMessageW(combo_, CB_GETCURSEL, 0, 0));
}

std::string MainWindow::SelectedPatchText() const {
  HWND combo = combo_;
  const auto index = static_cast<WPARAM>(SelectedPatchIndex());
  if (static_cast<int>(index) < 0) {
    return {};
  }
  const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) {
    return {};
  }
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return Narrow(text);
}

void MainWindow::SetCaption(MainLabel label, const std::string& text) {
  HWND control = ControlIn(window_, ControlNameOf(label));
  SetWindowTextUtf8(control, text);
  InvalidateRect(control, nullptr, TRUE);
  if ((GetWindowLongPtrW(control, GWL_STYLE) & SS_TYPEMASK) == SS_OWNERDRAW) {
    SetToolTip(control, text);
  }
}

void MainWindow::SetDescription(const std::string& text) {
  SetWindowTextUtf8(Control(kTextDescription), WithCrLf(text));
}

void MainWindow::SetDynamicVisible(bool visible) {
  ShowWindow(Control(kLabelDynamic), visible ? SW_SHOW : SW_HIDE);
}

void MainWindow::SetStatusLine(const std::string& text) {
  HWND status = Control(kLabelStatus);
  SetWindowTextUtf8(status, text);
  SetToolTip(status, text);
}

MainWindowView::PatchesOutcome MainWindow::ShowPatchesWindow(const PatchesRequest& request) {
  Win32UserInterface ui;
  PatchesWindow patches(window_, ui, request);
  PatchesOutcome outcome;
  if (patches.Handle() != nullptr) {
    patches.RunModal();
    outcome.changedExecutable = patches.Presenter().ChangedExecutable();
    outcome.status = patches.Presenter().Status();
  }
  return outcome;
}

bool MainWindow::PrintText(const std::string& text, const std::string& fontFace, int pointSize,
                           std::string& error) {
  return PrintOnDefaultPrinter(text, fontFace, pointSize, error);
}

void MainWindow::CloseWindow() {
  // The presenter has run the unload handler already.
  if (window_ != nullptr) {
    DestroyWindow(window_);
  }
}

}  // namespace varnock::win32
