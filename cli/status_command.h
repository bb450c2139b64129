#pragma once

#include "cli/command.h"

namespace varnock::cli {

// varnock-cli status FOLDER EXE [--json]: every patch of FOLDER, in the order `list --exe`
// gives, with its status on EXE and the patches it conflicts with.
class StatusCommand : public Command {
 public:
  CLI::App* Register(CLI::App& app) override;
  int Run(ConsoleUi& console) override;

 private:
  std::string folder_;
  std::string exe_;
  bool json_ = false;
};

}  // namespace varnock::cli
