#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "picker/picker_presenter.h"
#include "picker/picker_view.h"
#include "picker/picker_window_host.h"
#include "picker/system_picker_environment.h"
#include "tests/common/recording_ui.h"

namespace varnock::testing {

// Shows nothing; keeps what the presenter last gave it.
class RecordingPickerView : public PickerView {
 public:
  void SetCaption(const std::string& text) override { caption = text; }
  void SetDrives(const std::vector<std::string>& items) override { drives = items; }
  void SelectDrive(int index) override { drive = index; }
  void SetFolders(const std::vector<FolderEntry>& entries, int open) override {
    folders = entries;
    current = open;
  }
  void SetFiles(const std::vector<std::string>& names) override { files = names; }
  void SetPathText(const std::string& text) override { pathText = text; }
  std::string NewFolderName() const override { return newFolderName; }
  void SetFolderMode(bool on) override { folderMode = on; }
  void Close() override { ++closed; }

  // The index of the folder entry or file with this name; -1 when there is none.
  int FolderIndex(const std::string& name) const {
    const auto found = std::find_if(folders.begin(), folders.end(),
                                    [&](const FolderEntry& entry) { return entry.name == name; });
    return found == folders.end() ? -1 : static_cast<int>(found - folders.begin());
  }
  int FileIndex(const std::string& name) const {
    const auto found = std::find(files.begin(), files.end(), name);
    return found == files.end() ? -1 : static_cast<int>(found - files.begin());
  }

  std::string caption;
  std::vector<std::string> drives;
  int drive = -2;
  std::vector<FolderEntry> folders;
  int current = -2;
  std::vector<std::string> files;
  std::string pathText = "(never set)";
  std::string newFolderName;
  bool folderMode = false;
  int closed = 0;
};

// Attaches a fresh recording view, plays the user's actions until one of them closes the
// window, and detaches it, as the real window does around its modal display.
class ScriptedHost : public PickerWindowHost {
 public:
  using Action = std::function<void(Dialog_GetFileODir&, RecordingPickerView&)>;

  void RunModal(Dialog_GetFileODir& dialog) override {
    RecordingPickerView view;
    dialog.AttachView(view);
    for (const Action& action : script) {
      action(dialog, view);
      if (view.closed > 0) {
        break;
      }
    }
    lastView = view;
    dialog.DetachView();
    ++runs;
  }

  std::vector<Action> script;
  RecordingPickerView lastView;
  int runs = 0;
};

// The real file system with drives and a current folder the test chooses.
class TestDrivesEnvironment : public SystemPickerEnvironment {
 public:
  std::vector<std::string> Drives() const override { return drives; }
  bool DriveReady(const std::string& root) const override { return !notReady.count(root); }
  std::string CurrentFolder() const override { return current; }
  std::string CurrentFolderOn(const std::string& root) const override {
    const auto found = currentOn.find(root);
    return found != currentOn.end() ? found->second : root;
  }

  std::vector<std::string> drives{"/"};
  std::set<std::string> notReady;
  std::string current;
  std::map<std::string, std::string> currentOn;
};

// A Windows machine in memory: folders and files by full path, letter case ignored.
class FakeWindowsEnvironment : public PickerEnvironment {
 public:
  PathStyle Style() const override { return PathStyle::Windows; }
  std::vector<std::string> Drives() const override { return drives; }
  bool DriveReady(const std::string& root) const override { return !notReady.count(root); }
  std::string CurrentFolder() const override { return current; }
  std::string CurrentFolderOn(const std::string& root) const override;
  bool FolderExists(const std::string& path) const override;
  bool FileExists(const std::string& path) const override;
  bool EntryExists(const std::string& path) const override;
  std::vector<std::string> Subfolders(const std::string& folder) const override;
  std::vector<std::string> Files(const std::string& folder,
                                 const std::string& pattern) const override;
  bool CreateFolder(const std::string& path, std::string& error) override;

  void AddFolder(const std::string& path) { folders.insert(path); }
  void AddFile(const std::string& path) { files.insert(path); }
  // The file system's own reading of a path: separators collapsed, no trailing one except at
  // a root, letters upper case.
  static std::string Key(const std::string& path);

  std::vector<std::string> drives{"C:\\", "D:\\"};
  std::set<std::string> notReady;
  std::string current = "C:\\Games";
  std::set<std::string> folders{"C:\\", "D:\\", "C:\\Games"};
  std::set<std::string> files;
  mutable std::vector<std::string> listed;  // every folder Files was asked for

 private:
  static bool Holds(const std::set<std::string>& paths, const std::string& path);
};

// A picker over `Environment` that records what it tells the user; Open attaches the view.
template <typename Environment>
class PickerTest : public ::testing::Test {
 protected:
  void Open(const std::string& folder, bool testFile, const std::string& mask = "*") {
    dialog.ImpostaValori(folder, testFile, mask);
    dialog.AttachView(view);
  }

  Environment environment;
  RecordingUi ui;
  ScriptedHost host;
  Dialog_GetFileODir dialog{environment, ui, host};
  RecordingPickerView view;
};

}  // namespace varnock::testing
