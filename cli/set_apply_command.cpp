#include <CLI/CLI.hpp>

#include "cli/set_command.h"
#include "history/history_store.h"
#include "sets/set_operations.h"
#include "support/translation.h"

namespace varnock::cli {

CLI::App* SetApplyCommand::Register(CLI::App& app) {
  CLI::App* command = app.add_subcommand(
      "apply", Tr("Make EXE hold exactly the set SET, in one rewrite: its patches applied with "
                  "their arguments, every other applied patch of the folder removed"));
  command->add_option("SET", set_, Tr("The set file (.ptcset)"))->required();
  command->add_option("EXE", exe_, Tr("The executable to change"))->required();
  command->add_option("--patches", folder_,
                      Tr("The folder of the set's .ptc files (by default the set file's folder)"));
  AddNoHistoryFlag(*command, noHistory_);
  return command;
}

int SetApplyCommand::Run(ConsoleUi& console) {
  PatchSet set;
  if (!ReadSetArgument(set_, set, console)) {
    return kExitFailure;
  }
  const std::string exe = AbsolutePath(exe_);
  const SetCheck check = CheckSet(set, SetPatchFolder(set_, folder_), exe, console);
  if (const std::string note = OtherBuildNote(set, check); !note.empty() && !check.otherProgram) {
    console.Err() << Printable(note) << '\n';
  }
  OperationHistory history(noHistory_ ? std::string() : HistoryFolder());
  const ResultCode result =
      ApplySet(set, check, exe, {.ui = console, .history = noHistory_ ? nullptr : &history});
  TellHistoryFailure(history, console);
  if (result == ResultDone) {
    // TRANSLATORS: %1 is the executable's path, %2 and %3 numbers of patches.
    console.Out() << TrFormat("Ok: %1 holds the set: %2 applied, %3 removed",
                              {Printable(exe_), std::to_string(check.plan.applications.size()),
                               std::to_string(check.plan.removals.size())})
                  << "\n";
  } else if (result == ResultAlreadyDone) {
    // TRANSLATORS: %1 is the executable's path.
    console.Out() << TrFormat("WARNING: %1 already holds the set", {Printable(exe_)}) << "\n";
  }
  return ExitStatusOf(result);
}

}  // namespace varnock::cli
