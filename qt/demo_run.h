#pragma once

#include <ostream>
#include <string>

namespace varnock::qt {

// Runs the main window without showing it and tells on `out` what happens: the catalogue of
// the program's bundled patches, the choice of a copy of `demoExecutable` as the program to
// patch, the first patch applied, applied again, and removed, with every message the window
// would show. The original `demoExecutable` is left as it is. Returns the process exit code.
int RunDemo(const std::string& demoExecutable, std::ostream& out);

}  // namespace varnock::qt
