#pragma once

#include <string>

namespace varnock {

// The decimal separator of the user's locale number format.
char LocaleDecimalSeparator();

// The full path of the running program's own executable, from the operating system.
std::string OwnExecutablePath();

// The process's current folder, without a trailing separator except at a root.
std::string CurrentFolder();

}  // namespace varnock
