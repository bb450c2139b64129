#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "picker/picker_paths.h"
#include "picker/picker_presenter.h"
#include "picker/picker_view.h"
#include "picker/picker_window_host.h"
#include "picker/system_picker_environment.h"
#include "support/list_files.h"
#include "tests/common/recording_ui.h"

namespace varnock::testing {

// Shows nothing: the presenter keeps what the window shows. It keeps the drive list as shown
// and the times it was closed, and gives the name typed for a new folder.
class RecordingPickerView : public PickerView {
 public:
  void SetCaption(const std::string&) override {}
  void SetDrives(const std::vector<std::string>& items) override { drives = items; }
  void SelectDrive(int) override {}
  void SetFolders(const std::vector<FolderEntry>&, int) override {}
  void SetFiles(const std::vector<std::string>&) override {}
  void SetPathText(const std::string&) override {}
  std::string NewFolderName() const override { return newFolderName; }
  void SetFolderMode(bool) override {}
  void Close() override { ++closed; }

  std::vector<std::string> drives;
  std::string newFolderName;
  int closed = 0;
};

// A host for a picker that is never shown modally here (the windows' own tests show it).
class NoHost : public PickerWindowHost {
 public:
  void RunModal(Dialog_GetFileODir&) override {}
};

// The real file system with drives and a current folder the test chooses; a drive opens on
// the current folder when that lies on it.
class TestDrivesEnvironment : public SystemPickerEnvironment {
 public:
  std::vector<std::string> Drives() const override { return drives; }
  bool DriveReady(const std::string& root) const override { return !notReady.count(root); }
  std::string CurrentFolder() const override { return current; }

  std::vector<std::string> drives{"/"};
  std::set<std::string> notReady;
  std::string current;
};

// A Windows machine in memory: the drives C: and D:, the current folder C:\Games, and folders
// and files by full path, letter case ignored; to start with, the folders C:\Games\TR4 and
// D:\Levels and a tomb4.exe in C:\Games and at the root of C:.
class FakeWindowsEnvironment : public PickerEnvironment {
 public:
  PathStyle Style() const override { return PathStyle::Windows; }
  std::vector<std::string> Drives() const override { return {"C:\\", "D:\\"}; }
  bool DriveReady(const std::string&) const override { return true; }
  std::string CurrentFolder() const override { return "C:\\Games"; }
  std::string CurrentFolderOn(const std::string& root) const override {
    return Key(root) == "C:\\" ? CurrentFolder() : root;
  }
  bool FolderExists(const std::string& path) const override { return Holds(path, true); }
  bool FileExists(const std::string& path) const override { return Holds(path, false); }
  bool EntryExists(const std::string& path) const override { return entries_.count(Key(path)); }
  std::vector<std::string> Subfolders(const std::string& folder) const override {
    return Names(folder, true, "*");
  }
  std::vector<std::string> Files(const std::string& folder,
                                 const std::string& pattern) const override {
    listed.push_back(folder);
    return Names(folder, false, pattern);
  }
  bool CreateFolder(const std::string& path, std::string&) override {
    Add(path, true);
    return true;
  }

  void Add(const std::string& path, bool folder) { entries_[Key(path)] = {path, folder}; }

  mutable std::vector<std::string> listed;  // every folder Files was asked for

 private:
  // The file system's own reading of a path: separators collapsed, no trailing one except at
  // a root, letters upper case.
  static std::string Key(const std::string& path) {
    std::string key;
    for (char c : path) {
      if (c != '\\' || key.empty() || key.back() != '\\') {
        key.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
      }
    }
    if (key.size() > 3 && key.back() == '\\') {
      key.pop_back();
    }
    return key.size() == 2 && key[1] == ':' ? key + '\\' : key;
  }
  bool Holds(const std::string& path, bool folder) const {
    const auto found = entries_.find(Key(path));
    return found != entries_.end() && found->second.second == folder;
  }
  std::vector<std::string> Names(const std::string& folder, bool folders,
                                 const std::string& pattern) const {
    std::vector<std::string> names;
    for (const auto& [key, entry] : entries_) {
      const std::string name = GetFileName(entry.first, PathStyle::Windows);
      if (entry.second == folders && !IsRootFolder(entry.first, PathStyle::Windows) &&
          Key(GetParentFolder(entry.first, PathStyle::Windows)) == Key(folder) &&
          WildcardMatch(pattern, name)) {
        names.push_back(name);
      }
    }
    return names;
  }

  // By key: the path as it was made, and whether it is a folder.
  std::map<std::string, std::pair<std::string, bool>> entries_{
      {"C:\\", {"C:\\", true}},
      {"D:\\", {"D:\\", true}},
      {"C:\\GAMES", {"C:\\Games", true}},
      {"C:\\GAMES\\TR4", {"C:\\Games\\TR4", true}},
      {"D:\\LEVELS", {"D:\\Levels", true}},
      {"C:\\TOMB4.EXE", {"C:\\tomb4.exe", false}},
      {"C:\\GAMES\\TOMB4.EXE", {"C:\\Games\\tomb4.exe", false}}};
};

// A picker over `Environment` that records what it tells the user; Open attaches the view.
template <typename Environment>
class PickerTest : public ::testing::Test {
 protected:
  void Open(const std::string& folder, bool testFile, const std::string& mask = "*") {
    dialog.ImpostaValori(folder, testFile, mask);
    dialog.AttachView(view);
  }
  // The index of the folder entry with this name; -1 when there is none.
  int FolderIndex(const std::string& name) const {
    const auto& folders = dialog.Folders();
    const auto found = std::find_if(folders.begin(), folders.end(),
                                    [&](const FolderEntry& entry) { return entry.name == name; });
    return found == folders.end() ? -1 : static_cast<int>(found - folders.begin());
  }

  Environment environment;
  RecordingUi ui;
  NoHost host;
  Dialog_GetFileODir dialog{environment, ui, host};
  RecordingPickerView view;
};

}  // namespace varnock::testing
