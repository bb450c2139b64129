// varnock-cli: the window's engine from the command line, for scripts and batch work.

#include <iostream>

#include "cli/cli_run.h"
#include "cli/command.h"
#include "cli/console_ui.h"
#include "cli/utf8_console.h"
#include "support/process_start.h"
#include "support/program_arguments.h"
#include "support/translation.h"

int main(int argc, char** argv) {
  varnock::PrepareProcess();
  varnock::cli::UseUtf8Console();
  try {
    return varnock::cli::RunCli(varnock::ProgramArguments(argc, argv), std::cout, std::cerr);
  } catch (const std::exception& error) {
    // Nothing the code throws is expected to reach here; if it does, say so plainly rather
    // than end with the runtime's own exit code, which could read as "already done".
    std::cerr << varnock::TrFormat("ERROR: %1", {varnock::cli::ToConsoleLines(error.what())})
              << '\n';
  }
  return varnock::cli::kExitFailure;
}
