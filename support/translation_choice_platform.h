#pragma once

#include <string>

namespace varnock {

// The user's language of the interface as a locale name ("de_DE"); empty where the system has
// none apart from the variables (POSIX).
std::string InterfaceLocale();

// Sets a variable of this process's environment, where the C library reads it.
void SetProcessVariable(const char* name, const std::string& value);

}  // namespace varnock
