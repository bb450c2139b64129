#pragma once

#include <string>

#include "support/user_interface.h"

namespace varnock {

// The engine's one message for an unexpected failure (a missing or unreadable executable, a
// failed rewrite, an argument that cannot be placed), with the critical icon.
void ShowGeneralFailure(UserInterface& ui, const std::string& description);

}  // namespace varnock
