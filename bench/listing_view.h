#pragma once

#include <string>
#include <vector>

#include "app/main_window_view.h"

namespace varnock::bench {

// The least main window the presenter can drive: it keeps the patch list and answers every
// picker with the path it was given last.
class ListingView : public MainWindowView {
 public:
  void ClearPatchList() override { items_.clear(); }
  void AddPatchItem(const std::string& text) override { items_.push_back(text); }
  void SelectPatchItem(int index) override { selected_ = index; }
  int SelectedPatchIndex() const override { return selected_; }
  std::string SelectedPatchText() const override {
    return selected_ >= 0 && static_cast<std::size_t>(selected_) < items_.size()
               ? items_[static_cast<std::size_t>(selected_)]
               : std::string();
  }
  void SetCaption(MainLabel, const std::string&) override {}
  void SetDescription(const std::string&) override {}
  void SetDynamicVisible(bool) override {}
  bool RunPicker(const std::string&, const std::string&, bool, const std::string&,
                 std::string& pathDir) override {
    pathDir = answer_;
    return true;
  }
  bool PrintText(const std::string&, const std::string&, int, std::string&) override {
    return true;
  }
  void CloseWindow() override {}

  void AnswerPicker(const std::string& path) { answer_ = path; }
  const std::vector<std::string>& Items() const { return items_; }

 private:
  std::vector<std::string> items_;
  int selected_ = -1;
  std::string answer_;
};

}  // namespace varnock::bench
