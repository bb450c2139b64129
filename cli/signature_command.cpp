#include "cli/signature_command.h"

#include <CLI/CLI.hpp>

#include "cli/console_ui.h"
#include "support/translation.h"
#include "target/exe_version.h"

namespace varnock::cli {

CLI::App* SignatureCommand::Register(CLI::App& app) {
  CLI::App* command = app.add_subcommand("signature", Tr("Print the version signature of EXE"));
  command->add_option("EXE", exe_, Tr("The executable"))->required();
  return command;
}

int SignatureCommand::Run(ConsoleUi& console) {
  const std::string signature = GetExeVersion(AbsolutePath(exe_), console);
  console.Out() << Printable(signature) << '\n';
  // A failure has been told on the error stream already; its signature reads "ERROR".
  return signature == kFailedExeVersion ? kExitFailure : kExitOk;
}

}  // namespace varnock::cli
