#include "cli/patch_command.h"

#include <CLI/CLI.hpp>

#include "engine/patch_operation.h"
#include "patchfile/patch_record.h"
#include "support/paths.h"

namespace varnock::cli {

CLI::App* PatchCommand::Register(CLI::App& app) {
  CLI::App* command = remove_ ? app.add_subcommand("remove", "Remove the patch PATCH from EXE")
                              : app.add_subcommand("apply", "Apply the patch PATCH to EXE");
  command->add_option("PATCH", patch_, "The .ptc patch file")->required();
  command->add_option("EXE", exe_, "The executable to change")->required();
  command->add_option("--arg", argument_,
                      "The patch's argument (without it, the value the file name carries)");
  return command;
}

int PatchCommand::Run(ConsoleUi& console) {
  // Only a name with an argument between '#' asks for one: a value given for any other patch
  // would be dropped without a word.
  const std::string name = GetFileName(AbsolutePath(patch_));
  if (argument_.has_value() && name.find('#') == std::string::npos) {
    console.err() << "--arg: the patch file's name " << Printable(name)
                  << " carries no argument between two '#'\n";
    return kExitUsage;
  }
  console.SetAnswer(argument_);
  PatchRecord record;
  switch (RunPatchOperation(AbsolutePath(patch_), AbsolutePath(exe_), remove_, record, console)) {
    case ResultDone:
      return kExitOk;
    case ResultAlreadyDone:
      return kExitAlreadyDone;
    default:
      return kExitFailure;
  }
}

}  // namespace varnock::cli
