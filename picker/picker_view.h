#pragma once

#include <string>
#include <vector>

namespace varnock {

// One line of the folder list: the folders from the root down to the open folder, then the
// open folder's subfolders one level deeper.
struct FolderEntry {
  std::string name;   // the text shown: the root's path, else the folder's own name
  std::string path;   // the folder's full path
  int depth = 0;      // indentation level, 0 for the root
  bool open = false;  // the root, the folders on the way down and the open folder itself
  bool operator==(const FolderEntry&) const = default;
};

// The picker's window as the presenter drives it. The view only shows what it is given and
// reports the user's actions to the presenter; changes made through these calls never come
// back as user actions.
class PickerView {
 public:
  virtual ~PickerView() = default;

  virtual void SetCaption(const std::string& caption) = 0;
  // Drive1: the items and the selected one.
  virtual void SetDrives(const std::vector<std::string>& items) = 0;
  virtual void SelectDrive(int index) = 0;
  // Dir1: the entries and the one that is open (the current folder).
  virtual void SetFolders(const std::vector<FolderEntry>& entries, int current) = 0;
  // List_Files: the names, nothing selected.
  virtual void SetFiles(const std::vector<std::string>& names) = 0;
  // Text_Path: the read-only line that shows the current choice.
  virtual void SetPathText(const std::string& text) = 0;
  // Text_PathDir: the name the user typed for a new folder.
  virtual std::string NewFolderName() const = 0;
  // true: Label_File and List_Files hidden, Text_Path and the buttons moved up, the window
  // shorter; false: the full file-mode layout.
  virtual void SetFolderMode(bool folderMode) = 0;
  // Closes the window; the modal display then returns.
  virtual void Close() = 0;
};

}  // namespace varnock
