#pragma once

#include <optional>

#include "cli/command.h"

namespace varnock::cli {

// varnock-cli check PATCH EXE [--remove] [--arg VALUE] [--json]: what `apply` (or `remove`)
// would do, zone by zone, without writing anything. Exits as the operation would: 0 done, 3
// already done, 1 failed.
class CheckCommand : public Command {
 public:
  CLI::App* Register(CLI::App& app) override;
  int Run(ConsoleUi& console) override;

 private:
  std::string patch_;
  std::string exe_;
  bool remove_ = false;
  std::optional<std::string> argument_;
  bool json_ = false;
};

}  // namespace varnock::cli
