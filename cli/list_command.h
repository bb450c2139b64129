#pragma once

#include <optional>

#include "cli/command.h"

namespace varnock::cli {

// varnock-cli list FOLDER [--exe EXE] [--json]: the patch list as the window shows it when EXE
// is the chosen executable.
class ListCommand : public Command {
 public:
  CLI::App* Register(CLI::App& app) override;
  int Run(ConsoleUi& console) override;

 private:
  std::string folder_;
  std::optional<std::string> exe_;
  bool json_ = false;
};

}  // namespace varnock::cli
