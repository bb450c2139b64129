#include "cli/compile_command.h"

#include <CLI/CLI.hpp>

#include "cli/output_file.h"
#include "patchfile/patch_source.h"
#include "support/translation.h"

namespace varnock::cli {

CLI::App* CompileCommand::Register(CLI::App& app) {
  CLI::App* command =
      app.add_subcommand("compile", Tr("Write the .ptc file of the readable patch source SOURCE"));
  command->add_option("SOURCE", source_, Tr("The readable patch source"))->required();
  command->add_option("-o,--output", output_, Tr("The .ptc file to write"))->required();
  command->add_flag("--force", force_, Tr("Replace OUT.ptc if it exists"));
  return command;
}

int CompileCommand::Run(ConsoleUi& console) {
  PatchSource source;
  std::string error;
  if (!ReadPatchSourceFile(AbsolutePath(source_), source, error)) {
    // TRANSLATORS: %1 says what is wrong with the readable source.
    console.Err() << TrFormat("ERROR: %1", {ToConsoleLines(error)}) << "\n";
    return kExitFailure;
  }
  return WriteOutputFile(AbsolutePath(output_), CompiledPatch(source), force_, console);
}

}  // namespace varnock::cli
