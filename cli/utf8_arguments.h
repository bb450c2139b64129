#pragma once

#include <string>
#include <vector>

namespace varnock::cli {

// The program's arguments as UTF-8 texts, the program's name first. On Windows they come from
// the wide command line, since `argv` holds them in the ANSI code page, which cannot spell
// every file name.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Lets the console show UTF-8 output as it is (Windows); nothing elsewhere.
void UseUtf8Console();

}  // namespace varnock::cli
