#include "cli/create_command.h"

#include <CLI/CLI.hpp>

#include "cli/output_file.h"
#include "patchfile/patch_writer.h"
#include "support/files.h"
#include "support/translation.h"

namespace varnock::cli {

CLI::App* CreateCommand::Register(CLI::App& app) {
  CLI::App* command =
      app.add_subcommand("create", Tr("Make the patch that turns ORIGINAL into MODIFIED"));
  command->add_option("ORIGINAL", original_, Tr("The unchanged executable"))->required();
  command->add_option("MODIFIED", modified_, Tr("The same executable, changed"))->required();
  command->add_option("-o,--output", output_, Tr("The .ptc file to write"))->required();
  CLI::Option* text =
      command->add_option("--description", options_.description, Tr("The patch's description"));
  command->add_option("--description-file", descriptionFile_, Tr("A file holding the description"))
      ->excludes(text);
  command->add_flag("--dynamic", options_.dynamic, Tr("The patch finds its place in other builds"));
  command->add_flag("--version-bound", options_.versionBound,
                    Tr("The patch applies only to the original's build"));
  command->add_option("--program", options_.program,
                      Tr("The target program, when ORIGINAL is named otherwise "
                         "(tomb4.exe, tom2pc.exe, winroomedit.exe or script.exe)"));
  command->add_flag("--force", force_, Tr("Replace OUT.ptc if it exists"));
  return command;
}

int CreateCommand::Run(ConsoleUi& console) {
  if (!descriptionFile_.empty()) {
    Bytes text;
    std::string error;
    if (!ReadWholeFile(AbsolutePath(descriptionFile_), text, error)) {
      // TRANSLATORS: %1 is the description file's path, %2 the reason.
      console.Err() << TrFormat("ERROR: cannot read %1\nError mexage: %2",
                                {Printable(descriptionFile_), Printable(error)})
                    << "\n";
      return kExitFailure;
    }
    options_.description.assign(text.begin(), text.end());
  }
  const std::string output = AbsolutePath(output_);
  if (FileExists(output) && !force_) {
    return WriteOutputFile(output, {}, false, console);  // tells why, before any work is done
  }
  PatchRecord patch;
  if (!CreatePatch(AbsolutePath(original_), AbsolutePath(modified_), options_, patch, console)) {
    return kExitFailure;
  }
  return WriteOutputFile(output, WritePatch(patch), force_, console);
}

}  // namespace varnock::cli
