#pragma once

#include <memory>
#include <string>

#include "app/settings_store.h"
#include "history/operation_history.h"
#include "ui/user_interface.h"

namespace varnock {

// Whether the windows keep a history of the changes they make (the user's choice, kept between
// runs; on unless turned off), the history each change records into, and the warning, once in
// a run whichever window made the change, that no history could be kept.
class HistoryKeeping {
 public:
  // `settings` keeps the choice (null: for this run only); `folder` holds the records.
  HistoryKeeping(SettingsStore* settings, std::string folder);

  bool Keep() const { return keep_; }
  void SetKeep(bool keep);
  const std::string& Folder() const { return folder_; }

  // The history the next change records into; null when none is to be kept.
  OperationHistory* ForChange();
  // After the change: the first time in the run that its record could not be written, the user
  // is told why; and whenever a damaged record was kept aside and a new one started, that.
  void TellFailure(UserInterface& ui);

 private:
  SettingsStore* settings_;
  std::string folder_;
  bool keep_ = true;
  std::unique_ptr<OperationHistory> history_;
  bool told_ = false;
};

// The name the choice is kept under.
inline constexpr char kRememberedKeepHistory[] = "KeepHistory";

}  // namespace varnock
