// varnock-cli: the window's engine from the command line, for scripts and batch work.

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <vector>

#include "cli/check_command.h"
#include "cli/command.h"
#include "cli/compile_command.h"
#include "cli/console_ui.h"
#include "cli/create_command.h"
#include "cli/decompile_command.h"
#include "cli/info_command.h"
#include "cli/list_command.h"
#include "cli/patch_command.h"
#include "cli/signature_command.h"
#include "cli/status_command.h"
#include "cli/utf8_arguments.h"

namespace {

using namespace varnock::cli;

int Run(int argc, char** argv) {
  CLI::App app("Applies and removes binary patches, as the Varnock window does.", "varnock-cli");
  app.set_version_flag("--version", std::string("varnock-cli ") + VARNOCK_VERSION);
  app.require_subcommand(1);

  std::vector<std::unique_ptr<Command>> commands;
  commands.push_back(std::make_unique<SignatureCommand>());
  commands.push_back(std::make_unique<InfoCommand>());
  commands.push_back(std::make_unique<ListCommand>());
  commands.push_back(std::make_unique<PatchCommand>(false));
  commands.push_back(std::make_unique<PatchCommand>(true));
  commands.push_back(std::make_unique<CreateCommand>());
  commands.push_back(std::make_unique<DecompileCommand>());
  commands.push_back(std::make_unique<CompileCommand>());
  commands.push_back(std::make_unique<StatusCommand>());
  commands.push_back(std::make_unique<CheckCommand>());
  std::vector<CLI::App*> subcommands;
  subcommands.reserve(commands.size());
  for (const auto& command : commands) {
    subcommands.push_back(command->Register(app));
  }

  std::vector<std::string> arguments = Utf8Arguments(argc, argv);
  std::vector<char*> pointers;
  pointers.reserve(arguments.size());
  for (std::string& argument : arguments) {
    pointers.push_back(argument.data());
  }
  try {
    app.parse(static_cast<int>(pointers.size()), pointers.data());
  } catch (const CLI::CallForHelp& help) {
    return app.exit(help);
  } catch (const CLI::CallForVersion& version) {
    return app.exit(version);
  } catch (const CLI::ParseError& error) {
    std::cerr << error.what() << "\n\n" << app.help();
    return kExitUsage;
  }

  ConsoleUi console(std::cout, std::cerr);
  for (std::size_t i = 0; i < commands.size(); ++i) {
    if (subcommands[i]->parsed()) {
      return commands[i]->Run(console);
    }
  }
  return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  UseUtf8Console();
  try {
    return Run(argc, argv);
  } catch (const std::exception& error) {
    // Nothing the code throws is expected to reach here; if it does, say so plainly rather
    // than end with the runtime's own exit code, which could read as "already done".
    std::cerr << "ERROR: " << error.what() << '\n';
  }
  return kExitFailure;
}
