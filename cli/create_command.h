#pragma once

#include "author/create_patch.h"
#include "cli/command.h"

namespace varnock::cli {

// varnock-cli create ORIGINAL MODIFIED -o OUT.ptc [--description TEXT | --description-file F]
// [--dynamic] [--version-bound] [--program NAME] [--force]: the patch that turns ORIGINAL into
// MODIFIED.
class CreateCommand : public Command {
 public:
  CLI::App* Register(CLI::App& app) override;
  int Run(ConsoleUi& console) override;

 private:
  std::string original_;
  std::string modified_;
  std::string output_;
  std::string descriptionFile_;
  PatchOptions options_;
  bool force_ = false;
};

}  // namespace varnock::cli
