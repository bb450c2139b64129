#include "app/history_keeping.h"

#include "support/translation.h"

namespace varnock {

namespace {

constexpr char kOff[] = "no";

}  // namespace

HistoryKeeping::HistoryKeeping(SettingsStore* settings, std::string folder)
    : settings_(settings), folder_(std::move(folder)) {
  keep_ = settings_ == nullptr || settings_->Read(kRememberedKeepHistory) != kOff;
}

void HistoryKeeping::SetKeep(bool keep) {
  keep_ = keep;
  if (settings_ != nullptr) {
    settings_->Write(kRememberedKeepHistory, keep ? "yes" : kOff);
  }
}

OperationHistory* HistoryKeeping::ForChange() {
  if (!keep_) {
    return nullptr;
  }
  history_ = std::make_unique<OperationHistory>(folder_);
  return history_.get();
}

void HistoryKeeping::TellFailure(UserInterface& ui) {
  if (history_ != nullptr && !history_->Notice().empty()) {
    // TRANSLATORS: %1 is what the history tells of itself, such as that it was cut short
    ui.ShowMessage(TrFormat("WARNING: %1", {history_->Notice()}), MessageIcon::None);
  }
  if (history_ == nullptr || history_->Failure().empty() || told_) {
    return;
  }
  told_ = true;
  // TRANSLATORS: %1 is why the history cannot be written; "Restore original" and "Undo last
  // change" are the Patches window's buttons
  ui.ShowMessage(TrFormatCrLf("WARNING: no history is kept for this change: %1\nRestore original "
                              "and Undo last change cannot take it back. This warning is not shown "
                              "again until the program starts anew.",
                              {history_->Failure()}),
                 MessageIcon::None);
}

}  // namespace varnock
