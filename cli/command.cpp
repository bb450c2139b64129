#include "cli/command.h"

#include <CLI/CLI.hpp>

#include "support/resolved_path.h"
#include "support/translation.h"

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
                   Tr("Keep no history of this change (restore and undo cannot take it back)"));
}

void TellHistoryFailure(const OperationHistory& history, ConsoleUi& console) {
  if (!history.Notice().empty()) {
    // TRANSLATORS: %1 is a notice about the executable's history.
    console.Err() << TrFormat("WARNING: %1", {Printable(history.Notice())}) << '\n';
  }
  if (!history.Failure().empty()) {
    // TRANSLATORS: %1 says why the history cannot be written.
    console.Err() << TrFormat("WARNING: no history is kept for this change: %1",
                              {Printable(history.Failure())})
                  << '\n';
  }
}

}  // namespace varnock::cli
