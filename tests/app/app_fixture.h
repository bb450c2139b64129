#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/main_presenter.h"
#include "app/main_window_view.h"
#include "patchfile/patch_writer.h"
#include "picker/file_or_folder_picker.h"
#include "support/paths.h"
#include "tests/common/recording_ui.h"
#include "tests/common/temp_dir.h"
#include "tools/bundle_writer.h"

namespace varnock::testing {

// A main window and its picker that remember what the presenter showed, and answer the picker
// and the printer from what the test queued.
class RecordingView : public MainWindowView, public FileOrFolderPicker {
 public:
  void ClearPatchList() override {
    ++listings;
    items.clear();
    selected = -1;
  }
  void AddPatchItem(const std::string& text) override { items.push_back(text); }
  void SelectPatchItem(int index) override { selected = index; }
  int SelectedPatchIndex() const override { return selected; }
  std::string SelectedPatchText() const override {
    return selected < 0 ? std::string() : items.at(static_cast<std::size_t>(selected));
  }
  void SetCaption(MainLabel label, const std::string& text) override { captions[label] = text; }
  void SetDescription(const std::string& text) override { description = text; }
  void SetDynamicVisible(bool visible) override { dynamicVisible = visible; }
  void SetStatusLine(const std::string& text) override { statusLine = text; }

  void SetCaption(const std::string& caption) override { pickerCaption = caption; }
  // Each use of the picker as "caption: start folder" and, when it asks for a file, the mask.
  void ImpostaValori(const std::string& percorso, bool testFile,
                     const std::string& maschera) override {
    pickerCalls.push_back(pickerCaption + ": " + percorso + (testFile ? " " + maschera : ""));
  }
  // The next queued answer is chosen (an empty one fails); with none the picker is cancelled.
  void ShowModal() override {
    if (!pickerAnswers.empty() && pickerAnswers.front().empty()) {
      throw std::runtime_error("the folder vanished");
    }
    exitValue = !pickerAnswers.empty();
    if (exitValue) {
      pathDir = pickerAnswers.front();
      pickerAnswers.pop_front();
    }
  }
  void Unload() override { ++pickerUnloads; }
  bool ExitValue() const override { return exitValue; }
  std::string PathDir() const override { return pathDir; }
  void SetExitValue(bool value) override { exitValue = value; }
  void SetPathDir(const std::string& value) override { pathDir = value; }

  bool PrintText(const std::string& text, const std::string& face, int points,
                 std::string& error) override {
    printed.push_back(text + " in " + face + " " + std::to_string(points));
    error = printError;
    return printError.empty();
  }

  void CloseWindow() override { ++closed; }

  PatchesOutcome ShowPatchesWindow(const PatchesRequest& request) override {
    return patchesWindow ? patchesWindow(request) : PatchesOutcome();
  }

  std::vector<std::string> items;
  int listings = 0;  // the list filled anew
  int selected = -1;
  std::map<MainLabel, std::string> captions;
  std::string description;
  bool dynamicVisible = false;
  std::string statusLine;
  std::deque<std::string> pickerAnswers;
  std::string pickerCaption;
  bool exitValue = false;
  std::string pathDir;
  int pickerUnloads = 0;
  std::vector<std::string> pickerCalls;
  std::string printError;  // empty: the printer takes the text
  std::vector<std::string> printed;
  int closed = 0;
  std::function<PatchesOutcome(const PatchesRequest&)> patchesWindow;  // what it does, if given
};

// A program folder in a temporary directory, a level-editor folder beside it, and a presenter
// that believes it runs from there and keeps its settings in `settings`, as a run of the program
// leaves them for the next.
class AppFixture : public ::testing::Test, public SettingsStore {
 protected:
  std::string Read(const std::string& name) const override {
    const auto found = settings.find(name);
    return found == settings.end() ? std::string() : found->second;
  }
  void Write(const std::string& name, const std::string& value) override { settings[name] = value; }

  AppEnvironment Environment() {
    AppEnvironment environment;
    environment.ownExecutablePath = dir.Write(JoinPath("program", "varnock.exe"), ownExe);
    // The level editor is found where it installs itself, and only there.
    environment.findInstalledProgram = [this](const std::string& relativePath) {
      return editorInstalled &&
                     relativePath == JoinPath(JoinPath("Core Design", "trle"), "winroomedit.exe")
                 ? JoinPath(editorFolder, "winroomedit.exe")
                 : std::string();
    };
    environment.currentFolder = [this] { return dir.path(); };
    environment.canCreateFilesIn = [this](const std::string&) { return programWritable; };
    environment.userPatchFolder = [this] { return userFolder; };
    environment.openedFiles = openedFiles;
    environment.settings = this;
    environment.historyFolder = [this] { return historyFolder; };
    return environment;
  }

  // A run of the program: a new presenter over the environment as it stands, loaded.
  bool Load() {
    presenter = std::make_unique<MainPresenter>(view, view, ui, Environment());
    return presenter->Load();
  }
  MainPresenter& Presenter() { return *presenter; }

  // A patch for `exeName` made from an executable of signature `version`.
  static PatchRecord Patch(const std::string& version, const std::string& description = "a patch",
                           std::int32_t flags = 0, const std::string& exeName = "tomb4.exe") {
    return {.Flags = flags,
            .ArgOffsets = {},
            .ExeVersion = version,
            .Description = description,
            .ExeName = exeName,
            .Zones = {}};
  }
  // The patch written to `folder`, a folder of the temporary directory; returns its path.
  std::string WritePatch(const std::string& folder, const std::string& name,
                         const PatchRecord& record) {
    return dir.Write(JoinPath(folder.substr(dir.path().size() + 1), name),
                     varnock::WritePatch(record));
  }

  // The program's executable with these files appended as its bundle.
  void Bundle(const std::vector<tools::BundleFile>& entries) {
    ownExe = ToBytes("MZ image");
    const Bytes bundle = tools::BundleBytes(ownExe.size(), entries);
    ownExe.insert(ownExe.end(), bundle.begin(), bundle.end());
  }

  std::string InProgram(const std::string& name) const { return JoinPath(programFolder, name); }

  TempDir dir;
  std::string programFolder = dir.File("program");
  std::string editorFolder = dir.File("editor");
  Bytes ownExe = ToBytes("MZ not a bundle");  // the program's own executable
  bool editorInstalled = false;
  std::string userFolder;       // the per-user patch folder; none when empty
  bool programWritable = true;  // false: installed where the user cannot write
  std::vector<std::string> openedFiles;
  std::string historyFolder = dir.File("history");
  std::map<std::string, std::string> settings;
  RecordingView view;
  RecordingUi ui;
  std::unique_ptr<MainPresenter> presenter;
};

}  // namespace varnock::testing
