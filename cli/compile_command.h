#pragma once

#include "cli/command.h"

namespace varnock::cli {

// varnock-cli compile SOURCE -o OUT.ptc [--force]: the .ptc file of a readable patch source.
class CompileCommand : public Command {
 public:
  CLI::App* Register(CLI::App& app) override;
  int Run(ConsoleUi& console) override;

 private:
  std::string source_;
  std::string output_;
  bool force_ = false;
};

}  // namespace varnock::cli
