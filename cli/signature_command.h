#pragma once

#include "cli/command.h"

namespace varnock::cli {

// varnock-cli signature EXE: the version signature of EXE, one line.
class SignatureCommand : public Command {
 public:
  CLI::App* Register(CLI::App& app) override;
  int Run(ConsoleUi& console) override;

 private:
  std::string exe_;
};

}  // namespace varnock::cli
