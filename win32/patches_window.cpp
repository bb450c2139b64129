#include "win32/patches_window.h"

#include <algorithm>
#include <cwchar>

#include "app/access_keys.h"
#include "app/patches_columns.h"
#include "support/translation.h"
#include "win32/control_ids.h"
#include "win32/design_controls.h"
#include "win32/history_window.h"
#include "win32/layout.h"
#include "win32/list_selection.h"
#include "win32/modal_loop.h"
#include "win32/read_only_box.h"
#include "win32/set_file_dialog.h"
#include "win32/status_glyphs.h"
#include "win32/text.h"
#include "win32/window_class.h"

namespace varnock::win32 {

namespace {

// Posted by the computing thread: results are waiting for the presenter.
constexpr UINT kWakeUp = WM_APP + 2;
// The size of a status picture at 96 dots per inch, in pixels.
constexpr int kGlyphPixels = 16;
// The list's columns (kPatchesColumns).
enum Column : int { kPatchColumn, kStatusColumn, kConflictsColumn, kArgumentColumn, kDynamic };

const ControlDesign& DesignOf(int id) {
  return kPatchesWindowControls[static_cast<std::size_t>(id - kPatchesControlBase)];
}

bool IsButton(int id) {
  const int index = id - kPatchesControlBase;
  return index >= 0 && index < static_cast<int>(kPatchesWindowControls.size()) &&
         DesignOf(id).kind == ControlKind::Button;
}

// The text of one cell of `row`.
std::string CellText(const PatchRow& row, int column) {
  switch (column) {
    case kPatchColumn:
      return row.fileName;
    case kStatusColumn:
      return row.status;
    case kConflictsColumn:
      return row.conflicts;
    case kArgumentColumn:
      return row.argument;
    default:
      return row.dynamic ? Tr("Dynamic") : "";
  }
}

// Space in the list toggles the mark of the selected row, instead of the list's own handling,
// which would search for a name or keep the mark only in the list. The moving keys move the
// one selected row; a click with Shift or Ctrl held selects the row clicked alone.
LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                          DWORD_PTR data) {
  auto* window = reinterpret_cast<PatchesWindow*>(data);
  if (message == WM_KEYDOWN && wParam == VK_SPACE) {
    window->OnListSpace();
    return 0;
  }
  if (message == WM_KEYDOWN && window->OnListMoveKey(wParam)) {
    return 0;
  }
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDOWN) {
    wParam &= ~static_cast<WPARAM>(MK_SHIFT | MK_CONTROL);
  }
  if (message == WM_CHAR && wParam == L' ') {
    return 0;
  }
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(list, &ListProc, 0);
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

// F5 presses Refresh.
HACCEL CreateKeys() {
  ACCEL refresh{FVIRTKEY, VK_F5, static_cast<WORD>(kPulRefresh)};
  return CreateAcceleratorTableW(&refresh, 1);
}

}  // namespace

PatchesWindow::PatchesWindow(HWND owner, UserInterface& ui, const PatchesRequest& request)
    : dpi_(ScreenDpi()), fonts_(dpi_), presenter_(*this, ui, request) {
  RegisterWindowClass(kPatchesWindowClass, &OwnerProcedure<PatchesWindow>);
  window_ = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kPatchesWindowClass,
                            Wide(Tr(kPatchesWindowCaption.data())).c_str(),
                            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, 0, 0, 0, 0, owner,
                            nullptr, GetModuleHandleW(nullptr), this);
  if (window_ == nullptr) {
    return;
  }
  wakeTarget_ = window_;
  keys_ = CreateKeys();
  CreateControls();
  SizeAndCentre(window_, kPatchesWindowDesign.width, kPatchesWindowDesign.height, dpi_);
}

PatchesWindow::~PatchesWindow() {
  wakeTarget_ = nullptr;
  if (window_ != nullptr && IsWindow(window_)) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    EndModal(window_);
  }
  if (keys_ != nullptr) {
    DestroyAcceleratorTable(keys_);
  }
  if (images_ != nullptr) {
    ImageList_Destroy(images_);
  }
}

void PatchesWindow::CreateControls() {
  BuildControls(window_, kPatchesWindowDesign, kPatchesControlBase, fonts_, dpi_);
  FitComboHeight(Control(kComboLanguage),
                 kPatchesWindowControls[IndexOf(kPatchesWindowControls, "Combo_Language")].box,
                 dpi_);
  KeepTabsOut(Control(kPatchesDescription));
  SetUpList();
  // The keys act on the row selected, the patch the main window showed.
  focus_.SetFirst(Control(kListPatches));
}

// Report view, whole rows selected, a check box and the status's picture before each name; the
// rows are asked for as they are drawn.
void PatchesWindow::SetUpList() {
  HWND list = Control(kListPatches);
  // A name cut short shows whole under the mouse.
  const DWORD extended =
      LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP;
  ListView_SetExtendedListViewStyleEx(list, extended, extended);
  ListView_SetCallbackMask(list, LVIS_STATEIMAGEMASK);
  images_ = CreateStatusImages(MulDiv(kGlyphPixels, dpi_, 96));
  ListView_SetImageList(list, images_, LVSIL_SMALL);
  for (std::size_t i = 0; i < kPatchesColumns.size(); ++i) {
    std::wstring caption = Wide(Tr(kPatchesColumns[i].caption.data()));
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = caption.data();
    column.cx = TwipsToPixels(kPatchesColumns[i].width, dpi_);
    column.iSubItem = static_cast<int>(i);
    SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  // Columns too wide together for the list in a longer language widen the window, as a caption
  // that does not fit does.
  RECT rows{};
  GetClientRect(list, &rows);
  const CaptionMeasure columns = ColumnsMeasure(FirstColumns(), static_cast<int>(rows.right));
  GrowForCaptions(window_, kPatchesWindowDesign, kPatchesControlBase, dpi_, {&columns, 1});
  SetWindowSubclass(list, &ListProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

void PatchesWindow::RunModal() {
  Handle([this] { presenter_.Open(); });
  win32::RunModal(window_, keys_);
}

// At the first size every control is at its design's place; a larger window gives the list
// all it grows by, the controls below the list move down with the window's bottom edge, and
// those as wide as the list grow with it.
void PatchesWindow::PlaceControls(int width, int height) {
  const double stretch = HorizontalStretch(window_);
  const int extraWidth =
      std::max(0, width - TwipsAcross(kPatchesWindowDesign.width, dpi_, stretch));
  const int extraHeight = std::max(0, height - TwipsToPixels(kPatchesWindowDesign.height, dpi_));
  const RECT list = PixelRect(DesignOf(kListPatches).box, dpi_, stretch);
  for (std::size_t i = 0; i < kPatchesWindowControls.size(); ++i) {
    RECT box = PixelRect(kPatchesWindowControls[i].box, dpi_, stretch);
    if (box.right == list.right) {
      box.right += extraWidth;
    }
    if (box.top >= list.bottom) {
      OffsetRect(&box, 0, extraHeight);
    } else if (box.bottom == list.bottom) {
      box.bottom += extraHeight;
    }
    MoveWindow(Control(kPatchesControlBase + static_cast<int>(i)), box.left, box.top,
               box.right - box.left, box.bottom - box.top, TRUE);
  }
  FitColumns();
}

// The columns' widths at the window's first size: the design's, a column made wide enough for
// its title in the header, with the header's margin on either side.
ColumnWidths PatchesWindow::FirstColumns() const {
  HWND header = ListView_GetHeader(Control(kListPatches));
  const auto font = reinterpret_cast<HFONT>(SendMessageW(header, WM_GETFONT, 0, 0));
  const int margins = 2 * Header_GetBitmapMargin(header);
  const double stretch = HorizontalStretch(window_);
  ColumnWidths design{};
  ColumnWidths titles{};
  for (std::size_t i = 0; i < kPatchesColumns.size(); ++i) {
    design[i] = TwipsAcross(kPatchesColumns[i].width, dpi_, stretch);
    titles[i] = TextWidth(header, font, Tr(kPatchesColumns[i].caption.data())) + margins;
  }
  return TitledColumns(design, titles);
}

// The columns fill the list's width, with or without its scroll bar.
void PatchesWindow::FitColumns() {
  HWND list = Control(kListPatches);
  RECT client{};
  GetClientRect(list, &client);
  const ColumnWidths widths = FitPatchesColumns(FirstColumns(), static_cast<int>(client.right));
  for (std::size_t i = 0; i < widths.size(); ++i) {
    ListView_SetColumnWidth(list, static_cast<int>(i), widths[i]);
  }
}

template <typename Handler>
void PatchesWindow::Handle(Handler handler) {
  ++handling_;
  handler();
  --handling_;
  if (handling_ == 0 && wokenMeanwhile_) {
    wokenMeanwhile_ = false;
    presenter_.TakeResults();
  }
}

LRESULT PatchesWindow::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      window_ = window;
      break;
    case WM_NCDESTROY:
      wakeTarget_ = nullptr;
      window_ = nullptr;
      break;
    case kWakeUp:
      wakePosted_ = false;
      if (handling_ > 0) {
        // A handler is still running (a message box of it is open): the results wait for it.
        wokenMeanwhile_ = true;
      } else {
        Handle([this] { presenter_.TakeResults(); });
      }
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      if (reinterpret_cast<HWND>(lParam) == Control(kPatchesDescription)) {
        return look_.Paint(reinterpret_cast<HDC>(wParam));
      }
      break;
    case WM_SIZE:
      PlaceControls(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_GETMINMAXINFO: {
      // Never smaller than the design.
      RECT frame{0, 0, TwipsAcross(kPatchesWindowDesign.width, dpi_, HorizontalStretch(window)),
                 TwipsToPixels(kPatchesWindowDesign.height, dpi_)};
      AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
      return 0;
    }
    case WM_ACTIVATE:
      focus_.OnActivate(window_, LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_CLOSE:
      Handle([this] { presenter_.CloseClicked(); });
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void PatchesWindow::OnCommand(int id, int code) {
  if (id == kTextFilter) {
    if (code == EN_CHANGE) {
      const std::string text = WindowText(Control(kTextFilter));
      Handle([&] { presenter_.FilterChanged(text); });
    }
    return;
  }
  if (id == kComboLanguage) {
    if (code == CBN_SELCHANGE) {
      const auto option = SendMessageW(Control(kComboLanguage), CB_GETCURSEL, 0, 0);
      if (option >= 0) {
        Handle([&] { presenter_.LanguageChosen(static_cast<std::size_t>(option)); });
      }
    }
    return;
  }
  if (id == IDOK) {
    OnEnter();
    return;
  }
  if (id == IDCANCEL) {
    // Escape.
    Handle([this] { presenter_.CloseClicked(); });
    return;
  }
  // A click, or F5 for Refresh.
  if (code != BN_CLICKED && !(code == 1 && id == kPulRefresh)) {
    return;
  }
  if (id == kCheckHistory) {
    const bool keep = IsDlgButtonChecked(window_, kCheckHistory) == BST_CHECKED;
    Handle([&] { presenter_.KeepHistoryToggled(keep); });
    return;
  }
  const struct {
    int button;
    void (PatchesPresenter::*handler)();
  } buttons[] = {{kPulApplyChanges, &PatchesPresenter::ApplyChangesClicked},
                 {kPulRefresh, &PatchesPresenter::RefreshClicked},
                 {kPulRestore, &PatchesPresenter::RestoreClicked},
                 {kPulUndo, &PatchesPresenter::UndoClicked},
                 {kPulHistory, &PatchesPresenter::HistoryClicked},
                 {kPulSaveSet, &PatchesPresenter::SaveSetClicked},
                 {kPulOpenSet, &PatchesPresenter::OpenSetClicked},
                 {kPulClosePatches, &PatchesPresenter::CloseClicked}};
  for (const auto& [button, handler] : buttons) {
    if (id == button) {
      Handle([this, handler = handler] { (presenter_.*handler)(); });
      return;
    }
  }
}

// The Enter key toggles the selected row's mark in the list, and presses the button that has
// the focus elsewhere; no button is the window's default.
void PatchesWindow::OnEnter() {
  HWND focus = GetFocus();
  if (focus == Control(kListPatches)) {
    OnListSpace();
  } else if (focus != nullptr && GetParent(focus) == window_ && IsButton(GetDlgCtrlID(focus))) {
    OnCommand(GetDlgCtrlID(focus), BN_CLICKED);
  }
}

void PatchesWindow::OnListSpace() {
  const int row = SelectedRow();
  if (row >= 0) {
    Handle([&] { presenter_.MarkToggled(static_cast<std::size_t>(row)); });
  }
}

int PatchesWindow::SelectedRow() const {
  return selectedRow_;
}

// As the list itself moves: Page Down goes to the last row in view, or a page further from it;
// Page Up to the first in view, or a page back. The old row is let go before the new one is
// selected, so the list never has to look for other selected rows.
bool PatchesWindow::OnListMoveKey(WPARAM key) {
  HWND list = Control(kListPatches);
  const int count = static_cast<int>(presenter_.VisibleCount());
  const int page = std::max(1, ListView_GetCountPerPage(list));
  const int top = ListView_GetTopIndex(list);
  const int now = selectedRow_;
  int row = 0;
  switch (key) {
    case VK_UP:
      row = now - 1;
      break;
    case VK_DOWN:
      row = now + 1;
      break;
    case VK_PRIOR:
      row = now > top ? top : now - std::max(1, page - 1);
      break;
    case VK_NEXT:
      row = now < top + page - 1 ? top + page - 1 : now + std::max(1, page - 1);
      break;
    case VK_HOME:
      row = 0;
      break;
    case VK_END:
      row = count - 1;
      break;
    default:
      return false;
  }
  if (count == 0) {
    return true;
  }
  row = now < 0 && key != VK_END ? 0 : std::clamp(row, 0, count - 1);
  if (row == now) {
    return true;
  }
  if (now >= 0) {
    quiet_ = true;  // the new row is told, not the moment without one
    ListView_SetItemState(list, now, 0, LVIS_SELECTED | LVIS_FOCUSED);
    quiet_ = false;
  }
  ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(list, row, FALSE);
  return true;
}

// The list tells each change of its rows' states; the selected row is followed from them, as
// asking an owner-data list for it passes over every row.
void PatchesWindow::OnStatesChanged(int first, int last, UINT oldState, UINT newState) {
  if (!quiet_ && (newState & LVIS_SELECTED) != 0 && (oldState & LVIS_SELECTED) == 0) {
    KeepOneSelected(first, last);
  }
  const int row = RowSelectedAfter(selectedRow_, first, last, oldState, newState);
  if (row == selectedRow_) {
    return;
  }
  selectedRow_ = row;
  if (!quiet_) {
    Handle([&] { presenter_.RowSelected(row); });
  }
}

// The list has no LVS_SINGLESEL (see OnListMoveKey), so a drag over several rows or a select-all
// can select more than one: only the first row newly selected stays so (the one selected
// before, for every row at once), the others are let go at once.
void PatchesWindow::KeepOneSelected(int first, int last) {
  HWND list = Control(kListPatches);
  const int before = selectedRow_;  // the notices below follow the rows let go
  quiet_ = true;
  if (first < 0) {
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    if (before >= 0) {
      ListView_SetItemState(list, before, LVIS_SELECTED, LVIS_SELECTED);
    }
  } else {
    if (before >= 0 && (before < first || before > last)) {
      ListView_SetItemState(list, before, 0, LVIS_SELECTED);
    }
    for (int row = first + 1; row <= last; ++row) {
      ListView_SetItemState(list, row, 0, LVIS_SELECTED);
    }
  }
  quiet_ = false;
}

LRESULT PatchesWindow::OnNotify(const NMHDR& header) {
  if (header.idFrom != static_cast<UINT_PTR>(kListPatches)) {
    return 0;
  }
  switch (header.code) {
    case LVN_GETDISPINFOW:
      FillRow(*reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header)));
      return 0;
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if ((change.uChanged & LVIF_STATE) != 0) {
        OnStatesChanged(change.iItem, change.iItem, change.uOldState, change.uNewState);
      }
      return 0;
    }
    case LVN_ODSTATECHANGED: {
      const auto& change = reinterpret_cast<const NMLVODSTATECHANGE&>(header);
      OnStatesChanged(change.iFrom, change.iTo, change.uOldState, change.uNewState);
      return 0;
    }
    case NM_CLICK:
    case NM_DBLCLK:
      OnListClick(reinterpret_cast<const NMITEMACTIVATE&>(header));
      return 0;
    case LVN_ODFINDITEMW:
      return -1;  // typing goes to the filter, not to a search in the list
    default:
      return 0;
  }
}

// The list asks for what it draws: one cell's text, the row's mark and the status's picture.
void PatchesWindow::FillRow(NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= presenter_.VisibleCount()) {
    return;
  }
  const PatchRow row = presenter_.RowAt(static_cast<std::size_t>(item.iItem));
  if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
    const std::wstring text = Wide(CellText(row, item.iSubItem));
    wcsncpy(item.pszText, text.c_str(), static_cast<std::size_t>(item.cchTextMax) - 1);
    item.pszText[item.cchTextMax - 1] = L'\0';
  }
  if ((item.mask & LVIF_IMAGE) != 0 && item.iSubItem == kPatchColumn) {
    item.iImage = StatusImage(row.group);
  }
  if ((item.mask & LVIF_STATE) != 0 && item.iSubItem == kPatchColumn) {
    item.state = INDEXTOSTATEIMAGEMASK(row.checked ? 2 : 1);
    item.stateMask = LVIS_STATEIMAGEMASK;
  }
}

// A click on a row's check box toggles its mark.
void PatchesWindow::OnListClick(const NMITEMACTIVATE& click) {
  LVHITTESTINFO hit{};
  hit.pt = click.ptAction;
  const int row = ListView_SubItemHitTest(Control(kListPatches), &hit);
  if (row >= 0 && (hit.flags & LVHT_ONITEMSTATEICON) != 0) {
    Handle([&] { presenter_.MarkToggled(static_cast<std::size_t>(row)); });
  }
}

void PatchesWindow::ResetRows(std::size_t count, int selected, bool fromTop) {
  HWND list = Control(kListPatches);
  quiet_ = true;
  ListView_SetItemCountEx(list, static_cast<int>(count), 0);
  FitColumns();
  if (fromTop && count > 0) {
    ListView_EnsureVisible(list, 0, FALSE);
  }
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (selected >= 0) {
    ListView_SetItemState(list, selected, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, selected, FALSE);
  }
  selectedRow_ = selected;
  quiet_ = false;
  InvalidateRect(list, nullptr, TRUE);
}

void PatchesWindow::UpdateRows(std::size_t first, std::size_t last) {
  ListView_RedrawItems(Control(kListPatches), static_cast<int>(first), static_cast<int>(last));
}

void PatchesWindow::SetDescription(const std::string& text) {
  SetWindowTextUtf8(Control(kPatchesDescription), WithCrLf(text));
}

void PatchesWindow::SetProgress(const std::string& text) {
  SetWindowTextUtf8(Control(kLabelProgress), text);
}

// A disabled button cannot keep the focus: when "Apply changes" had it (it was pressed), the
// focus goes back to the list, now and when the window is active again after a message box.
void PatchesWindow::SetApplyEnabled(bool enabled) {
  HWND button = Control(kPulApplyChanges);
  if (!enabled) {
    focus_.Replace(button, Control(kListPatches));
    if (GetFocus() == button) {
      SetFocus(Control(kListPatches));
    }
  }
  EnableWindow(button, enabled ? TRUE : FALSE);
}

void PatchesWindow::SetLanguages(const std::vector<std::string>& names, std::size_t chosen) {
  HWND languages = Control(kComboLanguage);
  SendMessageW(languages, CB_RESETCONTENT, 0, 0);
  for (const std::string& name : names) {
    SendMessageW(languages, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(name).c_str()));
  }
  SendMessageW(languages, CB_SETCURSEL, chosen, 0);
}

void PatchesWindow::SetKeepHistory(bool keep) {
  CheckDlgButton(window_, kCheckHistory, keep ? BST_CHECKED : BST_UNCHECKED);
}

void PatchesWindow::ShowHistory(const HistoryListing& listing) {
  ShowHistoryWindow(window_, listing);
}

bool PatchesWindow::Confirm(const std::string& text, const std::string& title) {
  return MessageBoxW(window_, Wide(WithCrLf(text)).c_str(), Wide(title).c_str(),
                     MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION) == IDYES;
}

std::string PatchesWindow::AskSetPath(SetFileDialog dialog, const std::string& folder) {
  return AskSetFilePath(window_, dialog, folder);
}

// From any thread; one request at a time is enough, as the presenter takes all that waits.
void PatchesWindow::WakeUp() {
  if (wakePosted_.exchange(true)) {
    return;
  }
  HWND target = wakeTarget_;
  if (target == nullptr || !PostMessageW(target, kWakeUp, 0, 0)) {
    wakePosted_ = false;
  }
}

void PatchesWindow::CloseWindow() {
  if (window_ != nullptr) {
    EndModal(window_);
  }
}

}  // namespace varnock::win32
