#pragma once

#include "cli/command.h"

namespace varnock::cli {

// varnock-cli decompile PATCH [-o SOURCE] [--force]: the readable source of a .ptc file, on
// the output stream or in SOURCE.
class DecompileCommand : public Command {
 public:
  CLI::App* Register(CLI::App& app) override;
  int Run(ConsoleUi& console) override;

 private:
  std::string patch_;
  std::string output_;
  bool force_ = false;
};

}  // namespace varnock::cli
