#pragma once

#include <functional>
#include <string>

#include "engine/result_code.h"
#include "ui/user_interface.h"

namespace varnock {

// The engine's one message for an unexpected failure (a missing or unreadable executable, a
// failed rewrite, an argument that cannot be placed), with the critical icon.
void ShowGeneralFailure(UserInterface& ui, const std::string& description);

// Runs one whole operation; an exception that escapes it (no memory, an unexpected error)
// ends in the general failure message and ResultFailed.
ResultCode ReportingFailures(UserInterface& ui, const std::function<ResultCode()>& operation);

}  // namespace varnock
