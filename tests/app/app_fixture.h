#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/main_presenter.h"
#include "patchfile/patch_writer.h"
#include "support/paths.h"
#include "tests/app/recording_view.h"
#include "tests/common/recording_ui.h"
#include "tests/common/temp_dir.h"

namespace varnock::testing {

// Settings kept in memory, as a run of the program leaves them for the next.
class MemorySettings : public SettingsStore {
 public:
  std::string Read(const std::string& name) const override {
    const auto found = values.find(name);
    return found == values.end() ? std::string() : found->second;
  }
  void Write(const std::string& name, const std::string& value) override { values[name] = value; }

  std::map<std::string, std::string> values;
};

// A program folder in a temporary directory, a level-editor folder beside it, and a presenter
// that believes it runs from there.
class AppFixture : public ::testing::Test {
 protected:
  AppFixture() {
    programFolder = dir.File("program");
    editorFolder = dir.File("editor");
    ownExe = dir.Write(JoinPath("program", "varnock.exe"), ToBytes("MZ not a bundle"));
  }

  AppEnvironment Environment() {
    AppEnvironment environment;
    environment.ownExecutablePath = ownExe;
    environment.findInstalledProgram = [this](const std::string& relativePath) {
      editorLookups.push_back(relativePath);
      return editorInstalled ? JoinPath(editorFolder, "winroomedit.exe") : std::string();
    };
    environment.currentFolder = [this] { return dir.path(); };
    environment.canCreateFilesIn = [this](const std::string& folder) {
      return folder != programFolder || programFolderWritable;
    };
    environment.userPatchFolder = [this] { return userFolder; };
    environment.openedFiles = openedFiles;
    environment.settings = &settings;
    return environment;
  }

  MainPresenter& Presenter() {
    if (!presenter) {
      presenter = std::make_unique<MainPresenter>(view, view, ui, Environment());
    }
    return *presenter;
  }

  // A patch for `exeName` made from an executable of signature `version`.
  static PatchRecord Patch(const std::string& exeName, const std::string& version,
                           const std::string& description = "a patch", std::int32_t flags = 0) {
    PatchRecord record;
    record.ExeName = exeName;
    record.ExeVersion = version;
    record.Description = description;
    record.Flags = flags;
    return record;
  }

  std::string WritePatch(const std::string& folder, const std::string& name,
                         const PatchRecord& record) {
    const std::string path = JoinPath(folder, name);
    dir.Write(path.substr(dir.path().size() + 1), varnock::WritePatch(record));
    return path;
  }

  std::string InProgram(const std::string& name) const { return JoinPath(programFolder, name); }

  TempDir dir;
  std::string programFolder;
  std::string editorFolder;
  std::string ownExe;
  bool editorInstalled = false;
  bool programFolderWritable = true;
  std::string userFolder;  // the per-user patch folder; none when empty
  std::vector<std::string> editorLookups;
  std::vector<std::string> openedFiles;
  MemorySettings settings;
  RecordingView view;
  RecordingUi ui;
  std::unique_ptr<MainPresenter> presenter;
};

}  // namespace varnock::testing
