#include "app/history_keeping.h"

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
    ui.ShowMessage("WARNING: " + history_->Notice(), MessageIcon::None);
  }
  if (history_ == nullptr || history_->Failure().empty() || told_) {
    return;
  }
  told_ = true;
  ui.ShowMessage("WARNING: no history is kept for this change: " + history_->Failure() +
                     "\r\nRestore original and Undo last change cannot take it back. This "
                     "warning is not shown again until the program starts anew.",
                 MessageIcon::None);
}

}  // namespace varnock
