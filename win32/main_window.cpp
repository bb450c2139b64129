#include "win32/main_window.h"

#include <array>
#include <string>
#include <vector>

#include "app/access_keys.h"
#include "app/main_presenter.h"
#include "win32/app_icon.h"
#include "win32/control_ids.h"
#include "win32/layout.h"
#include "win32/modal_loop.h"
#include "win32/print_text.h"
#include "win32/text.h"

namespace varnock::win32 {

namespace {

constexpr int kClientWidth = 8685;
constexpr int kClientHeight = 4125;
// The room between a value field's border and its text, in twips.
constexpr int kValueIndent = 45;

enum class Kind { Label, BoldLabel, Value, Marker, Combo, Description, Button, BoldButton };

struct ControlDesign {
  int id;
  Kind kind;
  const char* caption;
  TwipsBox box;
};

// The controls in tab order, with their design captions and places.
constexpr std::array<ControlDesign, 18> kDesign = {{
    {kLabel1, Kind::BoldLabel, "Choose patch:", {90, 495, 1815, 240}},
    {kComboPatch, Kind::Combo, "", {2340, 450, 4605, 315}},
    {kLabelCreatedWithVersion, Kind::Label, "From tomb4 version:", {45, 855, 2175, 240}},
    {kLabelTombVersion, Kind::Value, "", {2340, 855, 6045, 285}},
    {kLabelDynamic, Kind::Marker, "Dynamic Patch !", {7020, 495, 1500, 240}},
    {kLabel3, Kind::Label, "Patch description:", {90, 1350, 1725, 240}},
    {kTextDescription, Kind::Description, "", {2340, 1305, 6045, 960}},
    {kLabelApplyPatchTo,
     Kind::Label,
     "Apply patch over following tomb4 program:",
     {135, 2430, 6720, 240}},
    {kLabelNomeExe, Kind::Value, "", {90, 2700, 7125, 285}},
    {kPulChangeTomb, Kind::Button, "Change", {7335, 2700, 1095, 285}},
    {kPulApplyPatch, Kind::BoldButton, "APPLY PATCH", {2340, 3645, 2175, 330}},
    {kPulRemovePatch, Kind::BoldButton, "REMOVE PATCH", {4635, 3645, 2175, 330}},
    {kPulCancel, Kind::Button, "Close", {7335, 3645, 1185, 285}},
    {kLabelTombVersionNow, Kind::Value, "", {2340, 3060, 6090, 285}},
    {kLabelCurrentTomb, Kind::Label, "Current tomb4 Version:", {90, 3105, 2220, 240}},
    {kPulChangeDirSrc, Kind::Button, "Patch Folder :", {45, 45, 1860, 285}},
    {kLabelDirSrc, Kind::Value, "", {2340, 45, 6045, 285}},
    {kPulStampaDescription, Kind::Button, "Print description", {90, 1845, 2130, 285}},
}};

int LabelId(MainLabel label) {
  switch (label) {
    case MainLabel::NomeExe:
      return kLabelNomeExe;
    case MainLabel::TombVersionNow:
      return kLabelTombVersionNow;
    case MainLabel::TombVersion:
      return kLabelTombVersion;
    case MainLabel::DirSrc:
      return kLabelDirSrc;
    case MainLabel::ApplyPatchTo:
      return kLabelApplyPatchTo;
    case MainLabel::CreatedWithVersion:
      return kLabelCreatedWithVersion;
    case MainLabel::CurrentTomb:
      return kLabelCurrentTomb;
  }
  return 0;
}

void RegisterMainClass(WNDPROC proc) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(GetModuleHandleW(nullptr), kMainWindowClass, &existing)) {
    return;
  }
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = proc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kMainWindowClass;
  RegisterClassExW(&windowClass);
}

}  // namespace

MainWindow::MainWindow(UserInterface& ui)
    : dpi_(ScreenDpi()), fonts_(dpi_), picker_(pickerEnvironment_, ui, pickerHost_) {
  RegisterMainClass(&MainWindow::Proc);
  // Caption with a leading blank; a fixed dialog frame without minimise and maximise buttons.
  window_ = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kMainWindowClass,
                            L" Varnock", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                            CW_USEDEFAULT, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (window_ == nullptr) {
    return;
  }
  pickerHost_.SetOwner(window_);
  bigIcon_ = CreateAppIcon(GetSystemMetrics(SM_CXICON));
  smallIcon_ = CreateAppIcon(GetSystemMetrics(SM_CXSMICON));
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  CreateControls();
  SizeAndCentre(window_, kClientWidth, kClientHeight, dpi_);
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
  for (const ControlDesign& design : kDesign) {
    const DWORD tab = WS_VISIBLE | WS_TABSTOP;
    HWND control = nullptr;
    switch (design.kind) {
      case Kind::Label:
      case Kind::BoldLabel:
        control = CreateControl(window_, L"STATIC", design.caption,
                                WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, design.id,
                                design.kind == Kind::BoldLabel ? fonts_.Bold() : fonts_.Dialog());
        break;
      case Kind::Value:
        control = CreateControl(window_, L"STATIC", design.caption,
                                WS_VISIBLE | WS_BORDER | SS_OWNERDRAW, design.id, fonts_.Dialog());
        break;
      case Kind::Marker:
        control = CreateControl(window_, L"STATIC", design.caption, SS_LEFT | SS_NOPREFIX,
                                design.id, fonts_.Bold());
        break;
      case Kind::Combo:
        control = CreateControl(window_, L"COMBOBOX", design.caption,
                                tab | WS_VSCROLL | CBS_DROPDOWNLIST, design.id, fonts_.Dialog());
        break;
      case Kind::Description:
        control = CreateControl(
            window_, L"EDIT", design.caption,
            tab | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, design.id,
            fonts_.Courier());
        break;
      case Kind::Button:
      case Kind::BoldButton:
        control = CreateControl(window_, L"BUTTON", WithAccessKey(design.caption).c_str(),
                                tab | BS_PUSHBUTTON, design.id,
                                design.kind == Kind::BoldButton ? fonts_.Bold() : fonts_.Dialog());
        break;
    }
    TwipsBox box = design.box;
    if (design.kind == Kind::Combo) {
      // A drop-down list's height includes its open list: room for twelve patches.
      box.height *= 12;
    }
    Place(control, box, dpi_);
  }
  FitComboHeight();
  lastFocus_ = Control(kComboPatch);
}

// The closed list is as high as the design says: its selection field is sized to fit.
void MainWindow::FitComboHeight() {
  HWND combo = Control(kComboPatch);
  const RECT wanted = PixelRect(kDesign[1].box, dpi_);
  // Measured again after each change: how the field's height adds up to the control's is the
  // system's own.
  for (int attempt = 0; attempt < 3; ++attempt) {
    RECT closed{};
    GetWindowRect(combo, &closed);
    const LONG missing = (wanted.bottom - wanted.top) - (closed.bottom - closed.top);
    const LRESULT field = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    if (missing == 0 || field == CB_ERR || field + missing <= 0) {
      return;
    }
    SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field + missing);
  }
}

void MainWindow::ShowCentred() {
  SizeAndCentre(window_, kClientWidth, kClientHeight, dpi_);
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  SetForegroundWindow(window_);
  SetFocus(lastFocus_);
}

LRESULT CALLBACK MainWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<MainWindow*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->Handle(message, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
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
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_CLOSE:
      // The close box: the unload handler runs, and closing is never refused.
      picker_.Unload();
      if (presenter_ != nullptr) {
        presenter_->Unload();
      }
      DestroyWindow(window_);
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
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
    default:
      break;
  }
}

// The control that had the focus gets it back when the window is activated again.
void MainWindow::OnActivate(bool active) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus != nullptr && GetParent(focus) == window_) {
      lastFocus_ = focus;
    }
  } else if (lastFocus_ != nullptr && IsWindow(lastFocus_)) {
    SetFocus(lastFocus_);
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

void MainWindow::ClearPatchList() {
  SendMessageW(Control(kComboPatch), CB_RESETCONTENT, 0, 0);
}

void MainWindow::AddPatchItem(const std::string& text) {
  SendMessageW(Control(kComboPatch), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

void MainWindow::SelectPatchItem(int index) {
  SendMessageW(Control(kComboPatch), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int MainWindow::SelectedPatchIndex() const {
  return static_cast<int>(SendMessageW(Control(kComboPatch), CB_GETCURSEL, 0, 0));
}

std::string MainWindow::SelectedPatchText() const {
  HWND combo = Control(kComboPatch);
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
  HWND control = Control(LabelId(label));
  SetWindowTextUtf8(control, text);
  InvalidateRect(control, nullptr, TRUE);
}

void MainWindow::SetDescription(const std::string& text) {
  SetWindowTextUtf8(Control(kTextDescription), WithCrLf(text));
}

void MainWindow::SetDynamicVisible(bool visible) {
  ShowWindow(Control(kLabelDynamic), visible ? SW_SHOW : SW_HIDE);
}

bool MainWindow::RunPicker(const std::string& caption, const std::string& startFolder,
                           bool testFile, const std::string& mask, std::string& pathDir) {
  picker_.SetCaption(caption);
  picker_.ImpostaValori(startFolder, testFile, mask);
  picker_.ShowModal();
  if (!picker_.ExitValue()) {
    return false;
  }
  pathDir = picker_.PathDir();
  return true;
}

bool MainWindow::PrintText(const std::string& text, const std::string& fontFace, int pointSize,
                           std::string& error) {
  return PrintOnDefaultPrinter(text, fontFace, pointSize, error);
}

void MainWindow::CloseWindow() {
  // The presenter has run the unload handler already.
  picker_.Unload();
  if (window_ != nullptr) {
    DestroyWindow(window_);
  }
}

}  // namespace varnock::win32
