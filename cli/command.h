#pragma once

#include <string>

#include "cli/console_ui.h"
#include "engine/result_code.h"
#include "history/operation_history.h"

namespace CLI {
class App;
}

namespace varnock::cli {

// Exit statuses of varnock-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitAlreadyDone = 3;

// One command of varnock-cli: it declares its arguments, then runs once they are parsed.
class Command {
 public:
  virtual ~Command() = default;
  // Adds the command's subcommand to `app` and returns it.
  virtual CLI::App* Register(CLI::App& app) = 0;
  virtual int Run(ConsoleUi& console) = 0;
};

// The exit status of an operation's result: 0 done, 3 already done, 1 otherwise.
int ExitStatusOf(ResultCode result);

// A path made absolute from the current folder and resolved as the operating system opens
// it (see ResolvedPath); native separators.
std::string AbsolutePath(const std::string& path);

// --no-history on `command`: the operation keeps no history of its change.
void AddNoHistoryFlag(CLI::App& command, bool& noHistory);
// The one line on standard error when the history of a change could not be written.
void TellHistoryFailure(const OperationHistory& history, ConsoleUi& console);

}  // namespace varnock::cli
