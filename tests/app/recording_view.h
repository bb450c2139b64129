#pragma once

#include <deque>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/main_window_view.h"

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

// A main window that remembers what the presenter showed, and answers the picker and the
// printer from what the test queued.
class RecordingView : public MainWindowView {
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

  bool RunPicker(const std::string& caption, const std::string& startFolder, bool testFile,
                 const std::string& mask, std::string& pathDir) override {
    pickerCalls.push_back({caption, startFolder, testFile, mask});
    if (pickerFails) {
      throw std::runtime_error("the folder vanished");
    }
    if (pickerAnswers.empty() || !pickerAnswers.front()) {
      if (!pickerAnswers.empty()) {
        pickerAnswers.pop_front();
      }
      return false;
    }
    pathDir = *pickerAnswers.front();
    pickerAnswers.pop_front();
    return true;
  }

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
  std::vector<PickerCall> pickerCalls;
  std::optional<std::string> printError;
  std::vector<PrintCall> printCalls;
  int closed = 0;
};

}  // namespace varnock::testing
