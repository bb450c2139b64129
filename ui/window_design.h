#pragma once

#include <span>
#include <stdexcept>
#include <string_view>

namespace varnock {

// A window's design, free of any toolkit: every control with its kind, caption, place and tab
// index. Places are measured in twips from the left and top of the client area: 1440 to the
// inch, 15 to a pixel at 96 dots per inch. Each front end builds its controls from it.

enum class ControlKind {
  Label,         // a caption
  ValueLabel,    // a one-line value: single border, bright green text on dark green
  MarkerLabel,   // a bold red caption, hidden until shown
  DropDownList,  // a list that drops down, no typing
  ValueArea,     // read-only multi-line text with a vertical scroll bar, in the value look
  ValueLine,     // read-only one-line text in the value look that never keeps the focus
  EntryLine,     // one line the user types into
  Button,
  DriveList,   // a drop-down list of the machine's drives
  FolderList,  // the folders from the root down to the open one, and its subfolders
  FileList,    // a list of file names
  CheckBox,    // a caption with a check box before it
  CheckTable,  // rows of columns, each row with a check box, shown as asked (a virtual list)
};

enum class ControlFont {
  Dialog,   // the system's dialog face at 8.25 points
  Bold,     // the same in bold
  Courier,  // Courier at 9.75 points
};

struct TwipsBox {
  int left;
  int top;
  int width;
  int height;
  constexpr int Right() const { return left + width; }
  constexpr int Bottom() const { return top + height; }
};

struct ControlDesign {
  std::string_view name;
  ControlKind kind;
  std::string_view caption;  // the design caption; empty for controls that show values
  TwipsBox box;
  int tabIndex;
  ControlFont font = ControlFont::Dialog;
};

// A control that shows no caption of its own and the label that names it: assistive technology
// reads the label as the control's name (Win32 takes the label just before it in tab order).
struct ControlLabel {
  std::string_view control;
  std::string_view label;
};

// A control that has neither a caption nor a label before it, and the name assistive technology
// reads for it.
struct ControlName {
  std::string_view control;
  std::string_view name;
};

struct WindowDesign {
  int width;   // client area, in twips
  int height;  // client area, in twips
  std::span<const ControlDesign> controls;
  std::span<const ControlLabel> labels = {};
  std::span<const ControlName> names = {};
};

// True for the kinds the Tab key stops on.
constexpr bool TakesFocus(ControlKind kind) {
  return kind != ControlKind::Label && kind != ControlKind::ValueLabel &&
         kind != ControlKind::MarkerLabel;
}

// The position of the control called `name` in the design; no such control is a fault of the
// caller (at compile time, an error).
constexpr int IndexOf(std::span<const ControlDesign> controls, std::string_view name) {
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].name == name) {
      return static_cast<int>(i);
    }
  }
  throw std::out_of_range("no control of that name in the design");
}

}  // namespace varnock
