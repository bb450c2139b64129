#include "cli/cli_run.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <memory>
#include <vector>

#include "cli/check_command.h"
#include "cli/command.h"
#include "cli/compile_command.h"
#include "cli/console_ui.h"
#include "cli/create_command.h"
#include "cli/decompile_command.h"
#include "cli/history_command.h"
#include "cli/info_command.h"
#include "cli/list_command.h"
#include "cli/patch_command.h"
#include "cli/set_command.h"
#include "cli/signature_command.h"
#include "cli/status_command.h"
#include "support/translation.h"

namespace varnock::cli {

namespace {

// The paragraphs of the help's footer, a blank line between them.
// clang-format off
constexpr const char* kFooter[] = {
  TrNoop(
    "Exit status: 0 success, 1 failure (also when the output cannot be written), 2 usage\n"
    "error, 3 when apply or remove finds the work already done (set apply: when EXE holds the\n"
    "set already). set verify exits as cmp does: 0 when EXE holds the set, 1 when it does not,\n"
    "2 when it cannot tell."),
  TrNoop(
    "A patch whose file name carries an argument between two '#' (Patch#250#.ptc) takes it\n"
    "from --arg, or else the value in the name; --arg \"\" stops the operation, as an empty\n"
    "answer does, and --arg for a name without '#' is a usage error. The argument travels in\n"
    "a temporary copy of the patch, named temp_ and the name with the new value, made beside\n"
    "the patch file and deleted afterwards: that folder must be writable."),
  TrNoop(
    "apply and remove record each change in the history of the executable, in the per-user\n"
    "data folder ($XDG_DATA_HOME/varnock/history, %LOCALAPPDATA%\\Varnock\\history), before\n"
    "they rewrite it (--no-history: none); history, restore and undo read it. When it cannot\n"
    "be written the change is made all the same, with one line on standard error."),
  TrNoop(
    "Every argument after -- is taken as a path, even one that starts with '-'.")};
// clang-format on

std::string FooterText() {
  std::string text;
  for (const char* paragraph : kFooter) {
    text += (text.empty() ? "" : "\n\n") + std::string(Tr(paragraph));
  }
  return text;
}

// The labels CLI11 prints in the help, in the user's language.
void TranslateHelpLabels(CLI::App& app) {
  const std::shared_ptr<CLI::FormatterBase> formatter = app.get_formatter();
  // TRANSLATORS: the heading of the help's first line, "Usage: varnock-cli ...".
  formatter->label("Usage", Tr("Usage"));
  // TRANSLATORS: a placeholder of the help's usage line, in capitals.
  formatter->label("OPTIONS", Tr("OPTIONS"));
  // TRANSLATORS: a placeholder of the help's usage line, in capitals.
  formatter->label("SUBCOMMAND", Tr("SUBCOMMAND"));
  // TRANSLATORS: the heading of the help's list of arguments that are not options.
  formatter->label("Positionals", Tr("Positionals"));
  // TRANSLATORS: a mark after an argument that must be given, in capitals.
  formatter->label("REQUIRED", Tr("REQUIRED"));
}

// The commands, and the commands of a command (set save, …), and their options under the
// headings of the user's language.
void GroupSubcommands(CLI::App& app) {
  for (CLI::App* command : app.get_subcommands({})) {
    command->group(Tr("Subcommands"));
    for (CLI::Option* option : command->get_options()) {
      if (option->get_group() == "Options") {
        option->group(Tr("Options"));
      }
    }
    GroupSubcommands(*command);
  }
}

// Whatever was printed must have reached the output: a full disk or a closed pipe is a
// failure, not a success with nothing shown.
int WithOutputWritten(std::ostream& out, std::ostream& err, int status) {
  out.flush();
  const bool toStdout = &out == &std::cout;
  if (!out || (toStdout && (std::fflush(stdout) != 0 || std::ferror(stdout) != 0))) {
    err << Tr("ERROR: the output cannot be written") << "\n";
    return kExitFailure;
  }
  return status;
}

}  // namespace

int RunCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  CLI::App app(Tr("Applies and removes binary patches, as the Varnock window does."),
               "varnock-cli");
  // The options of every command are listed under one heading in the user's language, which
  // the help and version flags, made again, take too.
  app.option_defaults()->group(Tr("Options"));
  app.set_help_flag("-h,--help", Tr("Print this help message and exit"));
  app.set_version_flag("--version", std::string("varnock-cli ") + VARNOCK_VERSION,
                       Tr("Display program version information and exit"));
  app.require_subcommand(1);
  app.footer(FooterText());
  TranslateHelpLabels(app);

  std::vector<std::unique_ptr<Command>> commands;
  commands.push_back(std::make_unique<SignatureCommand>());
  commands.push_back(std::make_unique<InfoCommand>());
  commands.push_back(std::make_unique<ListCommand>());
  commands.push_back(std::make_unique<PatchCommand>(varnock::PatchDirection::Apply));
  commands.push_back(std::make_unique<PatchCommand>(varnock::PatchDirection::Remove));
  commands.push_back(std::make_unique<CreateCommand>());
  commands.push_back(std::make_unique<DecompileCommand>());
  commands.push_back(std::make_unique<CompileCommand>());
  commands.push_back(std::make_unique<StatusCommand>());
  commands.push_back(std::make_unique<CheckCommand>());
  commands.push_back(std::make_unique<HistoryCommand>());
  commands.push_back(std::make_unique<RestoreCommand>());
  commands.push_back(std::make_unique<UndoCommand>());
  commands.push_back(std::make_unique<SetCommand>());
  std::vector<CLI::App*> subcommands;
  subcommands.reserve(commands.size());
  for (const auto& command : commands) {
    subcommands.push_back(command->Register(app));
  }
  GroupSubcommands(app);

  std::vector<std::string> owned = arguments;
  std::vector<char*> pointers;
  pointers.reserve(owned.size());
  for (std::string& argument : owned) {
    pointers.push_back(argument.data());
  }
  try {
    app.parse(static_cast<int>(pointers.size()), pointers.data());
  } catch (const CLI::CallForHelp& help) {
    return WithOutputWritten(out, err, app.exit(help, out, err));
  } catch (const CLI::CallForVersion& version) {
    return WithOutputWritten(out, err, app.exit(version, out, err));
  } catch (const CLI::ParseError& error) {
    err << ToConsoleLines(error.what()) << "\n\n" << app.help();
    return kExitUsage;
  }

  ConsoleUi console(out, err);
  for (std::size_t i = 0; i < commands.size(); ++i) {
    if (subcommands[i]->parsed()) {
      return WithOutputWritten(out, err, commands[i]->Run(console));
    }
  }
  return kExitUsage;
}

}  // namespace varnock::cli
