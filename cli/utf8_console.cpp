#include "cli/utf8_console.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace varnock::cli {

void UseUtf8Console() {
#ifdef _WIN32
  SetConsoleOutputCP(CP_UTF8);
#endif
}

}  // namespace varnock::cli
