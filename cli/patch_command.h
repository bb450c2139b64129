#pragma once

#include <optional>
#include <vector>

#include "cli/command.h"
#include "engine/patch_operation.h"

namespace varnock::cli {

// varnock-cli apply|remove PATCH [PATCH ...] EXE [--arg VALUE]...: with one patch the
// window's apply or remove request; with several, all of them in one rewrite of EXE.
class PatchCommand : public Command {
 public:
  explicit PatchCommand(PatchDirection direction) : remove_(direction == PatchDirection::Remove) {}
  CLI::App* Register(CLI::App& app) override;
  int Run(ConsoleUi& console) override;

 private:
  int RunOne(ConsoleUi& console);
  int RunBatch(ConsoleUi& console);

  bool remove_;
  std::vector<std::string> files_;  // the patches, then the executable
  std::vector<std::string> arguments_;
  bool noHistory_ = false;
};

}  // namespace varnock::cli
