#pragma once

#include "cli/command.h"

namespace varnock::cli {

// varnock-cli history EXE [--json]: the operations recorded for EXE, newest last, and whether
// the file is still as the last of them left it.
class HistoryCommand : public Command {
 public:
  CLI::App* Register(CLI::App& app) override;
  int Run(ConsoleUi& console) override;

 private:
  std::string exe_;
  bool json_ = false;
};

// varnock-cli restore EXE [--check] [--force]: the original executable back.
class RestoreCommand : public Command {
 public:
  CLI::App* Register(CLI::App& app) override;
  int Run(ConsoleUi& console) override;

 private:
  std::string exe_;
  bool check_ = false;
  bool force_ = false;
};

// varnock-cli undo EXE: the last recorded operation taken back.
class UndoCommand : public Command {
 public:
  CLI::App* Register(CLI::App& app) override;
  int Run(ConsoleUi& console) override;

 private:
  std::string exe_;
};

}  // namespace varnock::cli
