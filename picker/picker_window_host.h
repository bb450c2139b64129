#pragma once

namespace varnock {

class Dialog_GetFileODir;

// Creates the picker's window afresh, attaches it to the dialog, shows it modally and detaches
// it once it has closed. The toolkit front end supplies it; tests supply one that plays a
// script of user actions.
class PickerWindowHost {
 public:
  virtual ~PickerWindowHost() = default;
  virtual void RunModal(Dialog_GetFileODir& dialog) = 0;
};

}  // namespace varnock
