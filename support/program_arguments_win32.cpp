#include "support/program_arguments.h"

// windows.h comes first: shellapi.h builds on it.
#include <windows.h>

#include <shellapi.h>

#include "support/utf8.h"

namespace varnock {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) {
    return argv == nullptr ? std::vector<std::string>()
                           : std::vector<std::string>(argv, argv + argc);
  }
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) {
    const std::wstring_view argument(wide[i]);
    arguments.push_back(Utf16ToUtf8(std::u16string(argument.begin(), argument.end())));
  }
  LocalFree(wide);
  return arguments;
}

}  // namespace varnock
