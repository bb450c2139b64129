#pragma once

#include <deque>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/main_window_view.h"
#include "picker/file_or_folder_picker.h"

namespace varnock::testing {

struct PickerCall {
  std::string caption;
  std::string startFolder;
  bool testFile = false;
  std::string mask;
};

struct PrintCall {
  std::string text;
  std::string face;
  int points = 0;
};

// A main window and its picker that remember what the presenter showed, and answer the picker
// and the printer from what the test queued.
class RecordingView : public MainWindowView, public FileOrFolderPicker {
 public:
  void ClearPatchList() override {
    items.clear();
    selected = -1;
  }
  void AddPatchItem(const std::string& text) override {
    items.push_back(text);
    ++itemsAdded;
  }
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
  void ImpostaValori(const std::string& percorso, bool testFile,
                     const std::string& maschera) override {
    pickerCalls.push_back({pickerCaption, percorso, testFile, maschera});
    exitValue = false;
    pathDir = percorso;
  }
  void ShowModal() override {
    if (pickerFails) {
      throw std::runtime_error("the folder vanished");
    }
    if (!pickerAnswers.empty()) {
      exitValue = pickerAnswers.front().has_value();
      pathDir = pickerAnswers.front().value_or(pathDir);
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
    printCalls.push_back({text, face, points});
    if (printError) {
      error = *printError;
      return false;
    }
    return true;
  }

  void CloseWindow() override { ++closed; }

  std::string Caption(MainLabel label) const {
    const auto it = captions.find(label);
    return it == captions.end() ? std::string() : it->second;
  }

  std::vector<std::string> items;
  int selected = -1;
  int itemsAdded = 0;
  std::map<MainLabel, std::string> captions;
  std::string description;
  bool dynamicVisible = false;
  std::string statusLine;
  // std::nullopt: the picker is cancelled.
  std::deque<std::optional<std::string>> pickerAnswers;
  bool pickerFails = false;
  std::string pickerCaption;
  bool exitValue = false;
  std::string pathDir;
  int pickerUnloads = 0;
  std::vector<PickerCall> pickerCalls;
  std::optional<std::string> printError;
  std::vector<PrintCall> printCalls;
  int closed = 0;
};

}  // namespace varnock::testing
