#include "win32/picker_window.h"

#include "app/access_keys.h"
#include "win32/control_ids.h"
#include "win32/design_controls.h"
#include "win32/folder_glyph.h"
#include "win32/layout.h"
#include "win32/modal_loop.h"
#include "win32/text.h"
#include "win32/window_class.h"

namespace varnock::win32 {

namespace {

// Indentation of one level of the folder list, in twips.
constexpr int kFolderIndent = 180;
// Sent to itself when the path line got the focus, to pass it on.
constexpr UINT kPassFocusOn = WM_APP + 1;

}  // namespace

PickerWindow::PickerWindow(Dialog_GetFileODir& presenter, HWND owner)
    : presenter_(presenter), dpi_(ScreenDpi()), fonts_(dpi_) {
  RegisterWindowClass(kPickerClass, &OwnerProcedure<PickerWindow>);
  // A fixed dialog frame, no minimise or maximise buttons; the design caption is empty.
  window_ =
      CreateWindowExW(WS_EX_DLGMODALFRAME, kPickerClass, L"", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0,
                      0, 0, 0, owner, nullptr, GetModuleHandleW(nullptr), this);
  if (window_ == nullptr) {
    return;
  }
  BuildControls(window_, kPickerDesign, kPickerControlBase, fonts_, dpi_);
  // The focus starts on OK, the first control of the tab order.
  focus_.SetFirst(Control(kPickerOk));
  PlaceControls();
}

PickerWindow::~PickerWindow() {
  if (window_ != nullptr && IsWindow(window_)) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    EndModal(window_);
  }
}

void PickerWindow::PlaceControls() {
  for (std::size_t i = 0; i < kPickerControls.size(); ++i) {
    const ControlDesign& control = kPickerControls[i];
    HWND made = Control(kPickerControlBase + static_cast<int>(i));
    PlaceControl(made, control.kind, BoxInMode(control, folderMode_), dpi_);
    ShowWindow(made, ShownInMode(control, folderMode_) ? SW_SHOW : SW_HIDE);
  }
  SizeAndCentre(window_, kPickerDesign.width,
                folderMode_ ? kPickerFolderModeHeight : kPickerDesign.height, dpi_);
}

LRESULT PickerWindow::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
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
      // After a message box, the focus is back where the user left it.
      focus_.OnActivate(window_, LOWORD(wParam) != WA_INACTIVE);
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
  return DefWindowProcW(window, message, wParam, lParam);
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

// The Enter key: opens the highlighted folder, takes the highlighted file, makes the folder
// whose name is typed, or presses the button that has the focus. No button is the window's
// default.
void PickerWindow::OnEnter() {
  HWND focus = GetFocus();
  if (focus == Control(kTextPathDir)) {
    OnCommand(kPulNuovaCartella, BN_CLICKED);
  } else if (focus == Control(kDir1)) {
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
