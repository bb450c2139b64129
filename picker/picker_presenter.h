#pragma once

#include <string>
#include <vector>

#include "picker/file_or_folder_picker.h"
#include "picker/picker_environment.h"
#include "picker/picker_view.h"
#include "picker/picker_window_host.h"
#include "ui/user_interface.h"

namespace varnock {

// The file-or-folder dialog: a drive list, a folder list, the files of the open folder that
// match a pattern (file mode only), a read-only line with the current choice, and a way to
// create a new folder. The object lives as long as its caller; its window is attached while it
// is shown. Setting the open folder runs RefreshFileList at once, as the folder list's change
// event does.
class Dialog_GetFileODir : public FileOrFolderPicker {
 public:
  Dialog_GetFileODir(PickerEnvironment& environment, UserInterface& ui, PickerWindowHost& host);

  void SetCaption(const std::string& caption) override;
  void ImpostaValori(const std::string& percorso, bool testFile,
                     const std::string& maschera) override;
  void ShowModal() override;
  void Unload() override;
  bool ExitValue() const override { return exitValue_; }
  std::string PathDir() const override { return pathDir_; }
  void SetExitValue(bool value) override { exitValue_ = value; }
  void SetPathDir(const std::string& value) override { pathDir_ = value; }

  // The window: attached when it is created, detached when it has closed. Attaching shows the
  // whole state in it.
  void AttachView(PickerView& view);
  void DetachView();

  // The user's actions, reported by the window.
  void OnDriveChosen(int index);        // Drive1 changed
  void OnFolderOpened(int entry);       // Dir1: an entry opened (not merely highlighted)
  void OnFileClicked(int index);        // List_Files: -1 when nothing is selected
  void OnFileDoubleClicked(int index);  // List_Files: the same as clicking it, then OK
  void OnOk();                          // Pul_Ok
  void OnCancel();                      // Pul_Cancel
  void OnNewFolder();                   // Pul_NuovaCartella

  // What the window shows.
  const std::string& Caption() const { return caption_; }
  const std::string& FolderPath() const { return folderPath_; }
  const std::vector<std::string>& Drives() const { return drives_; }
  int DriveIndex() const { return driveIndex_; }
  const std::vector<FolderEntry>& Folders() const { return folders_; }
  int CurrentFolderEntry() const { return currentFolder_; }
  const std::vector<std::string>& Files() const { return files_; }
  const std::string& PathText() const { return pathText_; }

 private:
  void Prepare(const std::string& percorso, bool allowRetry);
  // The absolute, normalised form of a folder path; empty when it cannot be formed.
  std::string AbsoluteFolder(const std::string& path) const;
  // Dir1.Path = path: false (and nothing changed) when the folder does not exist.
  bool SetFolderPath(const std::string& path);
  void RefreshFolders();
  void RefreshFileList();
  void SetPathText(const std::string& text);
  void Close();
  void ShowAll();
  void ShowDrives();

  PickerEnvironment& environment_;
  UserInterface& ui_;
  PickerWindowHost& host_;
  PickerView* view_ = nullptr;

  bool exitValue_ = false;
  std::string pathDir_;
  bool testFile_ = true;
  std::string maschera_;
  std::string caption_;

  std::vector<std::string> drives_;
  int driveIndex_ = -1;
  std::string folderPath_;
  std::vector<FolderEntry> folders_;
  int currentFolder_ = -1;
  std::vector<std::string> files_;
  std::string pathText_;
};

}  // namespace varnock
