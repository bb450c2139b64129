#include "picker/picker_design.h"

namespace varnock {

namespace {

constexpr int kFolderModePathTop = 2790;  // where Label_File is in file mode
constexpr int kFolderModeButtonsTop = 3210;

}  // namespace

bool ShownInMode(const ControlDesign& control, bool folderMode) {
  return !folderMode || (control.name != "Label_File" && control.name != "List_Files");
}

TwipsBox BoxInMode(const ControlDesign& control, bool folderMode) {
  TwipsBox box = control.box;
  if (folderMode && control.name == "Text_Path") {
    box.top = kFolderModePathTop;
  } else if (folderMode && (control.name == "Pul_Ok" || control.name == "Pul_Cancel")) {
    box.top = kFolderModeButtonsTop;
  }
  return box;
}

}  // namespace varnock
