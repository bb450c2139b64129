#pragma once

#include <string>
#include <vector>

namespace varnock {

// The program's arguments as UTF-8 texts, the program's name first. On Windows they come from
// the wide command line, since `argv` holds them in the ANSI code page, which cannot spell
// every file name (and a windowed program has no `argv`: it passes none).
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace varnock
