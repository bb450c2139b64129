#pragma once

#include "history/operation_history.h"
#include "support/write_faults.h"
#include "ui/user_interface.h"

namespace varnock {

// What an apply, a remove or a batch is carried out with, made once by its caller: where it
// talks to the user, the history that records its rewrite (none: nothing is recorded), and the
// faults a test puts into the rewrite.
struct OperationContext {
  UserInterface& ui;
  OperationHistory* history = nullptr;
  WriteFaults faults = {};
};

}  // namespace varnock
