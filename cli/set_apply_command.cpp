#include <CLI/CLI.hpp>

#include "cli/set_command.h"
#include "history/history_store.h"
#include "sets/set_operations.h"

namespace varnock::cli {

CLI::App* SetApplyCommand::Register(CLI::App& app) {
  CLI::App* command = app.add_subcommand(
      "apply",
      "Make EXE hold exactly the set SET, in one rewrite: its patches applied with "
      "their arguments, every other applied patch of the folder removed");
  command->add_option("SET", set_, "The set file (.ptcset)")->required();
  command->add_option("EXE", exe_, "The executable to change")->required();
  command->add_option("--patches", folder_,
                      "The folder of the set's .ptc files (by default the set file's folder)");
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
    console.Out() << "Ok: " << Printable(exe_)
                  << " holds the set: " << check.plan.applications.size() << " applied, "
                  << check.plan.removals.size() << " removed\n";
  } else if (result == ResultAlreadyDone) {
    console.Out() << "WARNING: " << Printable(exe_) << " already holds the set\n";
  }
  return ExitStatusOf(result);
}

}  // namespace varnock::cli
