#include "cli/set_command.h"

#include <CLI/CLI.hpp>

#include "support/paths.h"
#include "support/translation.h"

namespace varnock::cli {

SetCommand::SetCommand() {
  parts_.push_back(std::make_unique<SetSaveCommand>());
  parts_.push_back(std::make_unique<SetApplyCommand>());
  parts_.push_back(std::make_unique<SetVerifyCommand>());
  parts_.push_back(std::make_unique<SetShowCommand>());
}

CLI::App* SetCommand::Register(CLI::App& app) {
  CLI::App* command = app.add_subcommand(
      "set", Tr("Save, apply, verify or show a patch set (.ptcset): patches named by file name and "
                "SHA-256, with their arguments"));
  command->require_subcommand(1);
  for (const auto& part : parts_) {
    subcommands_.push_back(part->Register(*command));
  }
  return command;
}

int SetCommand::Run(ConsoleUi& console) {
  for (std::size_t i = 0; i < parts_.size(); ++i) {
    if (subcommands_[i]->parsed()) {
      return parts_[i]->Run(console);
    }
  }
  return kExitUsage;
}

bool ReadSetArgument(const std::string& path, PatchSet& set, ConsoleUi& console) {
  std::string error;
  if (!ReadPatchSetFile(AbsolutePath(path), set, error)) {
    // TRANSLATORS: %1 says why the set file cannot be read.
    console.Err() << TrFormat("ERROR: %1", {ToConsoleLines(error)}) << '\n';
    return false;
  }
  return true;
}

std::string SetPatchFolder(const std::string& setPath, const std::string& folder) {
  return folder.empty() ? GetParentFolder(AbsolutePath(setPath)) : AbsolutePath(folder);
}

}  // namespace varnock::cli
