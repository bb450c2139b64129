#include "cli/compile_command.h"

#include <CLI/CLI.hpp>

#include "cli/output_file.h"
#include "patchfile/patch_source.h"

namespace varnock::cli {

CLI::App* CompileCommand::Register(CLI::App& app) {
  CLI::App* command =
      app.add_subcommand("compile", "Write the .ptc file of the readable patch source SOURCE");
  command->add_option("SOURCE", source_, "The readable patch source")->required();
  command->add_option("-o,--output", output_, "The .ptc file to write")->required();
  command->add_flag("--force", force_, "Replace OUT.ptc if it exists");
  return command;
}

int CompileCommand::Run(ConsoleUi& console) {
  PatchSource source;
  std::string error;
  if (!ReadPatchSourceFile(AbsolutePath(source_), source, error)) {
    console.Err() << "ERROR: " << ToConsoleLines(error) << "\n";
    return kExitFailure;
  }
  return WriteOutputFile(AbsolutePath(output_), CompiledPatch(source), force_, console);
}

}  // namespace varnock::cli
