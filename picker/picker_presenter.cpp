#include "picker/picker_presenter.h"

#include "picker/picker_paths.h"
#include "support/translation.h"

namespace varnock {

namespace {

std::string TrimBlanks(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) {
    return {};
  }
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

// A drive root given as "C:" (no separator) names the drive's current folder.
bool IsBareDrive(const std::string& path, PathStyle style) {
  return style == PathStyle::Windows && path.size() == 2 && path[1] == ':';
}

}  // namespace

Dialog_GetFileODir::Dialog_GetFileODir(PickerEnvironment& environment, UserInterface& ui,
                                       PickerWindowHost& host)
    : environment_(environment), ui_(ui), host_(host) {}

void Dialog_GetFileODir::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (view_ != nullptr) {
    view_->SetCaption(caption_);
  }
}

void Dialog_GetFileODir::ImpostaValori(const std::string& percorso, bool testFile,
                                       const std::string& maschera) {
  testFile_ = testFile;
  maschera_ = maschera;
  Prepare(percorso, true);
}

void Dialog_GetFileODir::Prepare(const std::string& percorso, bool allowRetry) {
  exitValue_ = false;
  pathDir_ = percorso;
  drives_ = environment_.Drives();
  if (view_ != nullptr) {
    ShowDrives();
  }

  const std::string current = environment_.CurrentFolder();
  std::string start = AbsoluteFolder(pathDir_.empty() ? current : pathDir_);
  const int drive = DriveIndexOf(start, drives_, environment_.Style());
  if (start.empty() || drive < 0 || !environment_.DriveReady(drives_[drive])) {
    start = current;
  }
  driveIndex_ = DriveIndexOf(start, drives_, environment_.Style());

  if (!SetFolderPath(start)) {
    if (allowRetry && start != current) {
      Prepare(current, false);
      return;
    }
    // Not even the current folder can be opened (it may have been deleted): the first drive
    // that opens is better than an empty dialog.
    for (const std::string& root : drives_) {
      if (environment_.DriveReady(root) && SetFolderPath(root)) {
        break;
      }
    }
  }
  if (view_ != nullptr) {
    view_->SetFolderMode(!testFile_);
  }
  RefreshFileList();
}

std::string Dialog_GetFileODir::AbsoluteFolder(const std::string& path) const {
  const PathStyle style = environment_.Style();
  if (path.empty()) {
    return {};
  }
  std::string full = path;
  if (IsBareDrive(path, style)) {
    full = environment_.CurrentFolderOn(path + Separator(style));
  } else if (!SplitFolder(path, style)) {
    if (style == PathStyle::Windows && path.size() >= 2 && path[1] == ':') {
      // "C:name" is relative to the drive's current folder.
      full =
          JoinChild(environment_.CurrentFolderOn(path.substr(0, 2) + "\\"), path.substr(2), style);
    } else if (style == PathStyle::Windows && (path[0] == '\\' || path[0] == '/')) {
      // "\name" starts at the root of the current folder's drive.
      full = environment_.CurrentFolder().substr(0, 2) + path;
    } else {
      full = JoinChild(environment_.CurrentFolder(), path, style);
    }
  }
  // A ".." leaves the folder a link leads to: the file system resolves it before the path is
  // taken apart, as it does when the folder is opened.
  const std::optional<FolderParts> parts = SplitFolder(environment_.ResolveDots(full), style);
  return parts ? JoinFolder(*parts, style) : std::string();
}

bool Dialog_GetFileODir::SetFolderPath(const std::string& path) {
  const std::string folder = AbsoluteFolder(path);
  if (folder.empty() || !environment_.FolderExists(folder)) {
    return false;
  }
  folderPath_ = folder;
  const int drive = DriveIndexOf(folderPath_, drives_, environment_.Style());
  if (drive >= 0) {
    driveIndex_ = drive;
  }
  if (view_ != nullptr) {
    view_->SelectDrive(driveIndex_);
  }
  RefreshFolders();
  RefreshFileList();
  return true;
}

void Dialog_GetFileODir::RefreshFolders() {
  const PathStyle style = environment_.Style();
  folders_.clear();
  currentFolder_ = -1;
  const std::optional<FolderParts> parts = SplitFolder(folderPath_, style);
  if (!parts) {
    if (view_ != nullptr) {
      view_->SetFolders(folders_, currentFolder_);
    }
    return;
  }
  FolderParts walked{parts->root, {}};
  folders_.push_back({parts->root, parts->root, 0, true});
  for (const std::string& name : parts->names) {
    walked.names.push_back(name);
    folders_.push_back(
        {name, JoinFolder(walked, style), static_cast<int>(walked.names.size()), true});
  }
  currentFolder_ = static_cast<int>(folders_.size()) - 1;
  for (const std::string& name : environment_.Subfolders(folderPath_)) {
    folders_.push_back({name, JoinChild(folderPath_, name, style), currentFolder_ + 1, false});
  }
  if (view_ != nullptr) {
    view_->SetFolders(folders_, currentFolder_);
  }
}

void Dialog_GetFileODir::RefreshFileList() {
  if (!testFile_) {
    files_.clear();
    if (view_ != nullptr) {
      view_->SetFiles(files_);
    }
    SetPathText(folderPath_);
    return;
  }
  std::string folder = folderPath_;
  // A Windows drive root loses its separator: the listing adds one of its own. The POSIX root
  // has nothing left without it and stays as it is.
  if (environment_.Style() == PathStyle::Windows && IsRootFolder(folder, PathStyle::Windows)) {
    folder.pop_back();
  }
  files_ = folder.empty() ? std::vector<std::string>() : environment_.Files(folder, maschera_);
  SetPathText("");
  if (view_ != nullptr) {
    view_->SetFiles(files_);
  }
}

void Dialog_GetFileODir::SetPathText(const std::string& text) {
  pathText_ = text;
  if (view_ != nullptr) {
    view_->SetPathText(pathText_);
  }
}

void Dialog_GetFileODir::ShowModal() {
  host_.RunModal(*this);
}

void Dialog_GetFileODir::Unload() {
  Close();
}

void Dialog_GetFileODir::Close() {
  if (view_ != nullptr) {
    view_->Close();
  }
}

void Dialog_GetFileODir::AttachView(PickerView& view) {
  view_ = &view;
  ShowAll();
}

void Dialog_GetFileODir::DetachView() {
  view_ = nullptr;
}

void Dialog_GetFileODir::ShowAll() {
  view_->SetCaption(caption_);
  view_->SetFolderMode(!testFile_);
  ShowDrives();
  view_->SetFolders(folders_, currentFolder_);
  view_->SetFiles(files_);
  view_->SetPathText(pathText_);
}

void Dialog_GetFileODir::ShowDrives() {
  std::vector<std::string> captions;
  for (const std::string& root : drives_) {
    captions.push_back(DriveCaption(root, environment_.Style()));
  }
  view_->SetDrives(captions);
  view_->SelectDrive(driveIndex_);
}

void Dialog_GetFileODir::OnDriveChosen(int index) {
  if (index < 0 || index >= static_cast<int>(drives_.size())) {
    return;
  }
  const std::string remembered = folderPath_;
  const std::string& root = drives_[index];
  const bool opened = environment_.DriveReady(root) &&
                      (SetFolderPath(environment_.CurrentFolderOn(root)) || SetFolderPath(root));
  if (!opened) {
    ui_.ShowMessage(Tr("Unit not ready"), MessageIcon::Critical);
    if (!SetFolderPath(remembered) && view_ != nullptr) {
      view_->SelectDrive(driveIndex_);
    }
  }
  RefreshFolders();
}

void Dialog_GetFileODir::OnFolderOpened(int entry) {
  if (entry < 0 || entry >= static_cast<int>(folders_.size())) {
    return;
  }
  // A folder that has gone since the list was shown disappears from it.
  if (!SetFolderPath(folders_[entry].path)) {
    RefreshFolders();
  }
}

void Dialog_GetFileODir::OnFileClicked(int index) {
  if (!testFile_) {
    return;
  }
  if (index < 0 || index >= static_cast<int>(files_.size())) {
    SetPathText("");
    return;
  }
  const PathStyle style = environment_.Style();
  // Windows keeps the doubled separator at a drive root (C:\\tomb4.exe), which the file system
  // accepts; at the POSIX root a doubled separator would change the path's meaning.
  if (style == PathStyle::Posix && IsRootFolder(folderPath_, style)) {
    SetPathText(JoinChild(folderPath_, files_[index], style));
  } else {
    SetPathText(JoinPath(folderPath_, files_[index], style));
  }
}

void Dialog_GetFileODir::OnFileDoubleClicked(int index) {
  OnFileClicked(index);
  OnOk();
}

void Dialog_GetFileODir::OnOk() {
  pathDir_ = folderPath_;
  if (testFile_) {
    if (!environment_.FileExists(pathText_)) {
      return;
    }
    pathDir_ = pathText_;
  } else if (environment_.Style() == PathStyle::Windows && pathDir_.size() <= 3) {
    std::string trimmed;
    for (std::size_t i = 0; i < pathDir_.size(); ++i) {
      trimmed.push_back(pathDir_[i]);
      if (pathDir_[i] == ':' && i + 1 < pathDir_.size() && pathDir_[i + 1] == '\\') {
        ++i;
      }
    }
    pathDir_ = trimmed;
  }
  exitValue_ = true;
  Close();
}

void Dialog_GetFileODir::OnCancel() {
  pathDir_.clear();
  exitValue_ = false;
  Close();
}

void Dialog_GetFileODir::OnNewFolder() {
  const std::string name = view_ != nullptr ? view_->NewFolderName() : std::string();
  if (name.empty()) {
    ui_.ShowMessage(Tr("Before clicking this button you must type name for new folder"),
                    MessageIcon::Critical);
    return;
  }
  const PathStyle style = environment_.Style();
  const std::string trimmed = TrimBlanks(name);
  // The new folder goes inside the open one: a path or "." and ".." would lead out of it. A
  // name of blanks only names the open folder itself, which is taken.
  if (!trimmed.empty() && !IsSingleName(trimmed, style)) {
    ui_.ShowMessage(
        // TRANSLATORS: %1 is the folder name typed
        TrFormat("Folder name \"%1\" is not valid: type the name of one folder inside the open one",
                 {trimmed}),
        MessageIcon::Critical);
    return;
  }
  const std::string newPath = CollapseBackslashes(JoinPath(folderPath_, trimmed, style), style);
  if (environment_.EntryExists(newPath)) {
    // TRANSLATORS: %1 is the new folder's path
    ui_.ShowMessage(TrFormat("Folder \"%1\" already exits", {newPath}), MessageIcon::Critical);
    return;
  }
  std::string error;
  if (!environment_.CreateFolder(newPath, error)) {
    // TRANSLATORS: %1 is the new folder's path, %2 why it cannot be made
    ui_.ShowMessage(TrFormatCrLf("Cannot create folder \"%1\"\nError mexage: %2", {newPath, error}),
                    MessageIcon::Critical);
    return;
  }
  ImpostaValori(newPath, testFile_, maschera_);
}

}  // namespace varnock
