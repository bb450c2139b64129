#include "cli/command.h"

#include <CLI/CLI.hpp>

#include "support/resolved_path.h"

namespace varnock::cli {

std::string AbsolutePath(const std::string& path) {
  return ResolvedPath(path);
}

int ExitStatusOf(ResultCode result) {
  switch (result) {
    case ResultDone:
      return kExitOk;
    case ResultAlreadyDone:
      return kExitAlreadyDone;
    default:
      return kExitFailure;
  }
}

void AddNoHistoryFlag(CLI::App& command, bool& noHistory) {
  command.add_flag("--no-history", noHistory,
                   "Keep no history of this change (restore and undo cannot take it back)");
}

void TellHistoryFailure(const OperationHistory& history, ConsoleUi& console) {
  if (!history.Notice().empty()) {
    console.Err() << "WARNING: " << Printable(history.Notice()) << '\n';
  }
  if (!history.Failure().empty()) {
    console.Err() << "WARNING: no history is kept for this change: " << Printable(history.Failure())
                  << '\n';
  }
}

}  // namespace varnock::cli
