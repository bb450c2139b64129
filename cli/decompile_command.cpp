#include "cli/decompile_command.h"

#include <CLI/CLI.hpp>

#include "cli/output_file.h"
#include "patchfile/patch_source.h"
#include "support/translation.h"

namespace varnock::cli {

CLI::App* DecompileCommand::Register(CLI::App& app) {
  CLI::App* command =
      app.add_subcommand("decompile", Tr("Write the readable source of the patch PATCH"));
  command->add_option("PATCH", patch_, Tr("The .ptc patch file"))->required();
  command->add_option("-o,--output", output_,
                      Tr("The source file to write (the output stream without it)"));
  command->add_flag("--force", force_, Tr("Replace SOURCE if it exists"));
  return command;
}

int DecompileCommand::Run(ConsoleUi& console) {
  PatchSource source;
  if (!ReadPatchAsSource(AbsolutePath(patch_), source, console)) {
    return kExitFailure;
  }
  const std::string text = DecompilePatch(source);
  if (output_.empty()) {
    console.Out() << text;
    return console.Out().flush() ? kExitOk : kExitFailure;
  }
  return WriteOutputFile(AbsolutePath(output_), Bytes(text.begin(), text.end()), force_, console);
}

}  // namespace varnock::cli
