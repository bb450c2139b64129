#include "win32/picker_window.h"

#include "app/access_keys.h"
#include "win32/control_ids.h"
#include "win32/folder_glyph.h"
#include "win32/layout.h"
#include "win32/modal_loop.h"
#include "win32/text.h"

namespace varnock::win32 {

namespace {

// The client area in twips; folder mode ends below its moved buttons, with the same margin.
constexpr int kWidth = 5865;
constexpr int kFileModeHeight = 6240;
constexpr int kFolderModeHeight = 3690;
constexpr int kFolderModePathTop = 2790;
constexpr int kFolderModeButtonsTop = 3210;
// Indentation of one level of the folder list, in twips.
constexpr int kFolderIndent = 180;
// Sent to itself when the path line got the focus, to pass it on.
constexpr UINT kPassFocusOn = WM_APP + 1;

void RegisterPickerClass() {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(GetModuleHandleW(nullptr), kPickerClass, &existing)) {
    return;
  }
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kPickerClass;
  RegisterClassExW(&windowClass);
}

}  // namespace

PickerWindow::PickerWindow(Dialog_GetFileODir& presenter, HWND owner)
    : presenter_(presenter), dpi_(ScreenDpi()), fonts_(dpi_) {
  RegisterPickerClass();
  // A fixed dialog frame, no minimise or maximise buttons; the design caption is empty.
  window_ =
      CreateWindowExW(WS_EX_DLGMODALFRAME, kPickerClass, L"", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0,
                      0, 0, 0, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window_ == nullptr) {
    return;
  }
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PickerWindow::Proc));
  CreateControls();
  PlaceControls();
}

PickerWindow::~PickerWindow() {
  if (window_ != nullptr && IsWindow(window_)) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    EndModal(window_);
  }
}

void PickerWindow::CreateControls() {
  // Created in the design's tab order.
  const DWORD tab = WS_VISIBLE | WS_TABSTOP;
  CreateControl(window_, L"BUTTON", WithAccessKey("OK").c_str(), tab | BS_PUSHBUTTON, kPickerOk,
                fonts_.Dialog());
  CreateControl(window_, L"BUTTON", WithAccessKey("Cancel").c_str(), tab | BS_PUSHBUTTON,
                kPickerCancel, fonts_.Dialog());
  CreateControl(window_, L"LISTBOX", "",
                tab | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                    LBS_NOINTEGRALHEIGHT,
                kDir1, fonts_.Dialog());
  CreateControl(window_, L"COMBOBOX", "", tab | WS_VSCROLL | CBS_DROPDOWNLIST, kDrive1,
                fonts_.Dialog());
  CreateControl(window_, L"EDIT", "", tab | WS_BORDER | ES_READONLY | ES_AUTOHSCROLL, kTextPath,
                fonts_.Dialog());
  CreateControl(window_, L"BUTTON", WithAccessKey("New Folder ->").c_str(), tab | BS_PUSHBUTTON,
                kPulNuovaCartella, fonts_.Dialog());
  CreateControl(window_, L"EDIT", "", tab | WS_BORDER | ES_AUTOHSCROLL, kTextPathDir,
                fonts_.Dialog());
  CreateControl(window_, L"LISTBOX", "",
                tab | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, kListFiles,
                fonts_.Courier());
  CreateControl(window_, L"STATIC", "File:", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kLabelFile,
                fonts_.Courier());
  CreateControl(window_, L"STATIC", "Folder:", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kPickerLabel1,
                fonts_.Courier());
}

void PickerWindow::PlaceControls() {
  const int buttonsTop = folderMode_ ? kFolderModeButtonsTop : 5760;
  Place(Control(kPickerOk), {180, buttonsTop, 1215, 330}, dpi_);
  Place(Control(kPickerCancel), {4500, buttonsTop, 1215, 330}, dpi_);
  Place(Control(kDir1), {180, 810, 5505, 1890}, dpi_);
  // A drop-down list's height includes its open list: room for eight drives.
  Place(Control(kDrive1), {225, 135, 1995, 315 * 8}, dpi_);
  Place(Control(kTextPath), {180, folderMode_ ? kFolderModePathTop : 5355, 5505, 285}, dpi_);
  Place(Control(kPulNuovaCartella), {2475, 135, 1500, 285}, dpi_);
  Place(Control(kTextPathDir), {4050, 135, 1635, 285}, dpi_);
  Place(Control(kListFiles), {180, 3060, 5505, 2010}, dpi_);
  Place(Control(kLabelFile), {225, 2790, 5505, 240}, dpi_);
  Place(Control(kPickerLabel1), {225, 540, 5505, 240}, dpi_);
  ShowWindow(Control(kLabelFile), folderMode_ ? SW_HIDE : SW_SHOW);
  ShowWindow(Control(kListFiles), folderMode_ ? SW_HIDE : SW_SHOW);
  SizeAndCentre(window_, kWidth, folderMode_ ? kFolderModeHeight : kFileModeHeight, dpi_);
}

LRESULT CALLBACK PickerWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<PickerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
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

LRESULT PickerWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      if (reinterpret_cast<HWND>(lParam) == Control(kTextPath)) {
        return look_.Paint(reinterpret_cast<HDC>(wParam));
      }
      break;
    case WM_MEASUREITEM:
      MeasureFolder(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_DRAWITEM:
      DrawFolder(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_ACTIVATE:
      // The focus starts on OK, the first control of the tab order, and stays in the window.
      if (LOWORD(wParam) != WA_INACTIVE && !IsChild(window_, GetFocus())) {
        SetFocus(Control(kPickerOk));
      }
      return 0;
    case kPassFocusOn:
      // Back the way the focus came with Shift+Tab, else on to the new-folder button.
      SetFocus(Control(GetKeyState(VK_SHIFT) < 0 ? kDrive1 : kPulNuovaCartella));
      return 0;
    case WM_CLOSE:
      // The frame's close box: no result, ExitValue stays as it was.
      EndModal(window_);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void PickerWindow::OnCommand(int id, int code) {
  switch (id) {
    case kPickerOk:
      if (code == BN_CLICKED)
        presenter_.OnOk();
      break;
    case kPickerCancel:
      if (code == BN_CLICKED)
        presenter_.OnCancel();
      break;
    case kPulNuovaCartella:
      if (code == BN_CLICKED)
        presenter_.OnNewFolder();
      break;
    case kDrive1:
      if (code == CBN_SELCHANGE) {
        presenter_.OnDriveChosen(
            static_cast<int>(SendMessageW(Control(kDrive1), CB_GETCURSEL, 0, 0)));
      }
      break;
    case kDir1:
      if (code == LBN_DBLCLK) {
        presenter_.OnFolderOpened(
            static_cast<int>(SendMessageW(Control(kDir1), LB_GETCURSEL, 0, 0)));
      }
      break;
    case kListFiles: {
      const int selected = static_cast<int>(SendMessageW(Control(kListFiles), LB_GETCURSEL, 0, 0));
      if (code == LBN_SELCHANGE) {
        presenter_.OnFileClicked(selected);
      } else if (code == LBN_DBLCLK && selected >= 0) {
        presenter_.OnFileDoubleClicked(selected);
      }
      break;
    }
    case kTextPath:
      if (code == EN_SETFOCUS) {
        PostMessageW(window_, kPassFocusOn, 0, 0);
      }
      break;
    case IDOK:
      OnEnter();
      break;
    default:
      break;
  }
}

// The Enter key: opens the highlighted folder, takes the highlighted file, or presses the
// button that has the focus. No button is the window's default.
void PickerWindow::OnEnter() {
  HWND focus = GetFocus();
  if (focus == Control(kDir1)) {
    OnCommand(kDir1, LBN_DBLCLK);
  } else if (focus == Control(kListFiles)) {
    OnCommand(kListFiles, LBN_DBLCLK);
  } else if (focus != nullptr && GetParent(focus) == window_) {
    const int id = GetDlgCtrlID(focus);
    if (id == kPickerOk || id == kPickerCancel || id == kPulNuovaCartella) {
      OnCommand(id, BN_CLICKED);
    }
  }
}

void PickerWindow::MeasureFolder(MEASUREITEMSTRUCT& item) const {
  HDC dc = GetDC(window_);
  HGDIOBJ previous = SelectObject(dc, fonts_.Dialog());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, previous);
  ReleaseDC(window_, dc);
  item.itemHeight = static_cast<UINT>(metrics.tmHeight + 4);
}

void PickerWindow::DrawFolder(const DRAWITEMSTRUCT& item) const {
  if (item.CtlID != kDir1) {
    return;
  }
  HDC dc = item.hDC;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (item.itemID >= folders_.size()) {
    return;
  }
  const FolderEntry& entry = folders_[item.itemID];
  const int height = item.rcItem.bottom - item.rcItem.top;
  const int glyph = height - 4;
  const int left = item.rcItem.left + 2 + entry.depth * TwipsToPixels(kFolderIndent, dpi_);
  DrawFolderGlyph(dc, left, item.rcItem.top + 2, glyph, entry.open);
  RECT text = item.rcItem;
  text.left = left + glyph + 4;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  const std::wstring name = Wide(entry.name);
  DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &text,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if ((item.itemState & ODS_FOCUS) != 0) {
    DrawFocusRect(dc, &item.rcItem);
  }
}

void PickerWindow::SetCaption(const std::string& caption) {
  SetWindowTextUtf8(window_, caption);
}

void PickerWindow::SetDrives(const std::vector<std::string>& items) {
  HWND drives = Control(kDrive1);
  SendMessageW(drives, CB_RESETCONTENT, 0, 0);
  for (const std::string& item : items) {
    SendMessageW(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
  }
}

void PickerWindow::SelectDrive(int index) {
  SendMessageW(Control(kDrive1), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void PickerWindow::SetFolders(const std::vector<FolderEntry>& entries, int current) {
  folders_ = entries;
  HWND list = Control(kDir1);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const FolderEntry& entry : entries) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(entry.name).c_str()));
  }
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(current), 0);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void PickerWindow::SetFiles(const std::vector<std::string>& names) {
  HWND list = Control(kListFiles);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& name : names) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(name).c_str()));
  }
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

void PickerWindow::SetPathText(const std::string& text) {
  SetWindowTextUtf8(Control(kTextPath), text);
}

std::string PickerWindow::NewFolderName() const {
  return WindowText(Control(kTextPathDir));
}

void PickerWindow::SetFolderMode(bool folderMode) {
  folderMode_ = folderMode;
  PlaceControls();
}

void PickerWindow::Close() {
  if (window_ != nullptr) {
    EndModal(window_);
  }
}

void Win32PickerWindowHost::RunModal(Dialog_GetFileODir& dialog) {
  PickerWindow window(dialog, owner_);
  if (window.Handle() == nullptr) {
    return;
  }
  dialog.AttachView(window);
  win32::RunModal(window.Handle());
  dialog.DetachView();
}

}  // namespace varnock::win32
