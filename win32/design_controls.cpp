#include "win32/design_controls.h"

#include <algorithm>
#include <string>
#include <vector>

#include <commctrl.h>

#include "app/access_keys.h"
#include "support/message_catalogue.h"
#include "support/translation.h"
#include "win32/layout.h"
#include "win32/text.h"

namespace varnock::win32 {

namespace {

struct NativeControl {
  const wchar_t* className;
  DWORD style;
};

NativeControl NativeFor(ControlKind kind) {
  const DWORD tab = WS_VISIBLE | WS_TABSTOP;
  switch (kind) {
    case ControlKind::Label:
      // SS_NOTIFY: the label sees the mouse, so that a tooltip can show over it.
      return {L"STATIC", WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS | SS_NOTIFY};
    case ControlKind::ValueLabel:
      // SS_NOTIFY: the field sees the mouse, so that its tooltip can show.
      return {L"STATIC", WS_VISIBLE | WS_BORDER | SS_OWNERDRAW | SS_NOTIFY};
    case ControlKind::MarkerLabel:
      return {L"STATIC", SS_LEFT | SS_NOPREFIX};
    case ControlKind::DropDownList:
    case ControlKind::DriveList:
      return {L"COMBOBOX", tab | WS_VSCROLL | CBS_DROPDOWNLIST};
    case ControlKind::ValueArea:
      return {L"EDIT", tab | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL};
    case ControlKind::ValueLine:
      return {L"EDIT", tab | WS_BORDER | ES_READONLY | ES_AUTOHSCROLL};
    case ControlKind::EntryLine:
      return {L"EDIT", tab | WS_BORDER | ES_AUTOHSCROLL};
    case ControlKind::Button:
      return {L"BUTTON", tab | BS_PUSHBUTTON};
    case ControlKind::FolderList:
      return {L"LISTBOX", tab | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED |
                              LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT};
    case ControlKind::FileList:
      // The sideways scroll bar shows only when a row is wider than the list.
      return {L"LISTBOX",
              tab | WS_BORDER | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT};
    case ControlKind::CheckBox:
      return {L"BUTTON", tab | BS_AUTOCHECKBOX};
    case ControlKind::CheckTable:
      // One row is selected at a time, yet without LVS_SINGLESEL: the window moves the selection
      // itself (Wine's list passes over every row of an owner-data list to select one in a
      // single-selection list), and a click never adds a row to it.
      return {WC_LISTVIEWW, tab | WS_BORDER | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS};
  }
  return {L"STATIC", 0};
}

HFONT FontFor(ControlFont font, const WindowFonts& fonts) {
  switch (font) {
    case ControlFont::Bold:
      return fonts.Bold();
    case ControlFont::Courier:
      return fonts.Courier();
    case ControlFont::Dialog:
      break;
  }
  return fonts.Dialog();
}

// A control's caption in its font, and the room the control gives it: a button's border and a
// check box's box take their part.
CaptionMeasure MeasureCaption(HWND control, ControlKind kind) {
  const bool button = kind == ControlKind::Button;
  const bool checkBox = kind == ControlKind::CheckBox;
  std::string caption = WindowText(control);
  // The access key's mark is no part of the visible text.
  if (button || checkBox) {
    caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
  }
  RECT box{};
  GetWindowRect(control, &box);
  const int room = box.right - box.left - (button ? 4 : 0) -
                   (checkBox ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : 0);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  return {TextWidth(control, font, caption), room};
}

// Names a control that has no label of the design before it: a hidden label with `name` just
// before it in tab order, where assistive technology looks for its name.
void NameControl(HWND control, const std::string& name) {
  HWND label = CreateControl(GetParent(control), L"STATIC", name.c_str(), SS_LEFT | SS_NOPREFIX, -1,
                             nullptr);
  HWND before = GetWindow(control, GW_HWNDPREV);
  SetWindowPos(label, before != nullptr ? before : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

void BuildControls(HWND window, const WindowDesign& design, int idBase, const WindowFonts& fonts,
                   int dpi) {
  std::vector<std::size_t> order(design.controls.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    order[i] = i;
  }
  // A label that names a control comes just before it, where assistive technology looks for
  // it; labels take no focus, so the Tab key's order stays the design's.
  std::vector<int> place(design.controls.size());
  for (std::size_t i = 0; i < place.size(); ++i) {
    place[i] = 2 * design.controls[i].tabIndex + 1;
  }
  for (const ControlLabel& named : design.labels) {
    place[static_cast<std::size_t>(IndexOf(design.controls, named.label))] =
        2 *
        design.controls[static_cast<std::size_t>(IndexOf(design.controls, named.control))].tabIndex;
  }
  std::stable_sort(order.begin(), order.end(),
                   [&place](std::size_t a, std::size_t b) { return place[a] < place[b]; });
  for (const std::size_t index : order) {
    const ControlDesign& control = design.controls[index];
    const NativeControl native = NativeFor(control.kind);
    // A button's or check box's caption carries its access key, the letter Alt presses.
    const bool pressed =
        control.kind == ControlKind::Button || control.kind == ControlKind::CheckBox;
    // The caption in the user's language (the tables' texts are whole literals).
    const std::string caption =
        pressed ? WithAccessKey(control.caption) : std::string(Tr(control.caption.data()));
    HWND made = CreateControl(window, native.className, caption.c_str(), native.style,
                              idBase + static_cast<int>(index), FontFor(control.font, fonts));
    PlaceControl(made, control.kind, control.box, dpi);
  }
  GrowForCaptions(window, design, idBase, dpi);
  // A control that takes the focus with no label before it is named by a hidden one. (A label
  // of the design's own is read by its text, as Windows reads every label.)
  for (const ControlName& named : design.names) {
    const int index = IndexOf(design.controls, named.control);
    if (TakesFocus(design.controls[static_cast<std::size_t>(index)].kind)) {
      NameControl(GetDlgItem(window, idBase + index), Tr(named.name.data()));
    }
  }
}

void GrowForCaptions(HWND window, const WindowDesign& design, int idBase, int dpi,
                     std::span<const CaptionMeasure> more) {
  std::vector<CaptionMeasure> captions(more.begin(), more.end());
  for (std::size_t i = 0; i < design.controls.size(); ++i) {
    if (!design.controls[i].caption.empty()) {
      captions.push_back(MeasureCaption(GetDlgItem(window, idBase + static_cast<int>(i)),
                                        design.controls[i].kind));
    }
  }
  const double stretch = StretchForCaptions(captions, ActiveCatalogue().Size() > 0);
  if (stretch == 1) {
    return;
  }
  SetHorizontalStretch(window, HorizontalStretch(window) * stretch);
  for (std::size_t i = 0; i < design.controls.size(); ++i) {
    PlaceControl(GetDlgItem(window, idBase + static_cast<int>(i)), design.controls[i].kind,
                 design.controls[i].box, dpi);
  }
}

int TextWidth(HWND window, HFONT font, const std::string& text) {
  HDC dc = GetDC(window);
  HGDIOBJ previous = SelectObject(dc, font);
  const std::wstring wide = Wide(text);
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  SelectObject(dc, previous);
  ReleaseDC(window, dc);
  return size.cx;
}

void PlaceControl(HWND control, ControlKind kind, const TwipsBox& box, int dpi) {
  TwipsBox placed = box;
  if (kind == ControlKind::DropDownList) {
    placed.height *= 12;  // room for twelve patches
  } else if (kind == ControlKind::DriveList) {
    placed.height *= 8;  // room for eight drives
  }
  Place(control, placed, dpi);
}

}  // namespace varnock::win32
