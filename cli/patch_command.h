#pragma once

#include <optional>

#include "cli/command.h"

namespace varnock::cli {

// varnock-cli apply|remove PATCH EXE [--arg VALUE]: the window's apply or remove request.
class PatchCommand : public Command {
 public:
  explicit PatchCommand(bool remove) : remove_(remove) {}
  CLI::App* Register(CLI::App& app) override;
  int Run(ConsoleUi& console) override;

 private:
  bool remove_;
  std::string patch_;
  std::string exe_;
  std::optional<std::string> argument_;
};

}  // namespace varnock::cli
