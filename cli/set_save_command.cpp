#include <CLI/CLI.hpp>

#include "cli/output_file.h"
#include "cli/set_command.h"
#include "sets/set_operations.h"
#include "support/files.h"
#include "support/translation.h"

namespace varnock::cli {

CLI::App* SetSaveCommand::Register(CLI::App& app) {
  CLI::App* command = app.add_subcommand(
      "save", Tr("Save as SET every patch of FOLDER applied on EXE, in the order list --exe gives, "
                 "with its SHA-256 and argument"));
  command->add_option("FOLDER", folder_, Tr("The folder of .ptc files"))->required();
  command->add_option("EXE", exe_, Tr("The executable"))->required();
  command->add_option("-o,--output", output_, Tr("The set file to write (SET.ptcset)"))->required();
  command->add_flag("--force", force_, Tr("Replace SET if it exists"));
  return command;
}

int SetSaveCommand::Run(ConsoleUi& console) {
  const std::string output = AbsolutePath(output_);
  if (FileExists(output) && !force_) {
    return WriteOutputFile(output, {}, false, console);  // tells why, before any work is done
  }
  PatchSet set;
  if (!SaveSetFrom(AbsolutePath(folder_), AbsolutePath(exe_), set, console)) {
    return kExitFailure;
  }
  const std::string text = PatchSetText(set);
  const int status = WriteOutputFile(output, Bytes(text.begin(), text.end()), force_, console);
  if (status == kExitOk) {
    // TRANSLATORS: %1 is a number of patches, %2 the executable's path, %3 the set file's path.
    console.Out() << TrFormat("Saved %1 patches of %2 as %3", {std::to_string(set.patches.size()),
                                                               Printable(exe_), Printable(output_)})
                  << '\n';
  }
  return status;
}

}  // namespace varnock::cli
