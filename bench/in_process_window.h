#pragma once

#include <string>
#include <vector>

#include "app/main_presenter.h"
#include "bench/quiet_ui.h"

namespace varnock::bench {

// The main window without a toolkit: a view that keeps only the list and its selection, a
// picker that is never answered, and the settings of a run that chose `exe` and `folder`.
class InProcessWindow : public MainWindowView, public FileOrFolderPicker, public SettingsStore {
 public:
  InProcessWindow(const std::string& folder, const std::string& exe);

  // Start-up, as the window's load event runs it, in this process. False when it failed.
  bool Load();
  MainPresenter& Presenter() { return presenter_; }
  const std::string& StatusLine() const { return presenter_.StatusLine(); }
  std::size_t ItemCount() const { return items_.size(); }

  void ClearPatchList() override { items_.clear(); }
  void AddPatchItem(const std::string& text) override { items_.push_back(text); }
  void SelectPatchItem(int index) override { selected_ = index; }
  int SelectedPatchIndex() const override { return selected_; }
  std::string SelectedPatchText() const override {
    return selected_ < 0 ? std::string() : items_[static_cast<std::size_t>(selected_)];
  }
  void SetCaption(MainLabel, const std::string&) override {}
  void SetDescription(const std::string&) override {}
  void SetDynamicVisible(bool) override {}
  bool PrintText(const std::string&, const std::string&, int, std::string&) override {
    return false;
  }
  void CloseWindow() override {}

  void SetCaption(const std::string&) override {}
  void ImpostaValori(const std::string&, bool, const std::string&) override {}
  void ShowModal() override {}
  void Unload() override {}
  bool ExitValue() const override { return false; }
  std::string PathDir() const override { return {}; }
  void SetExitValue(bool) override {}
  void SetPathDir(const std::string&) override {}

  std::string Read(const std::string& name) const override;
  void Write(const std::string&, const std::string&) override {}

  QuietUi ui;

 private:
  std::string folder_;
  std::string exe_;
  std::vector<std::string> items_;
  int selected_ = -1;
  MainPresenter presenter_;
};

}  // namespace varnock::bench
