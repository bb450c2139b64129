#pragma once

#include <string>

#include "cli/console_ui.h"
#include "support/bytes.h"

namespace varnock::cli {

// Writes `content` to the file at `path` and returns the exit status. An existing file is
// replaced only with `force`, and then whole or not at all; a new file that cannot be written
// completely is removed again. Failures are told on the error stream.
int WriteOutputFile(const std::string& path, const Bytes& content, bool force, ConsoleUi& console);

}  // namespace varnock::cli
