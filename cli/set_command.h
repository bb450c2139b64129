#pragma once

#include <memory>
#include <vector>

#include "cli/command.h"
#include "sets/patch_set.h"

namespace varnock::cli {

// varnock-cli set save|apply|verify|show: patch sets (.ptcset), one part a subcommand.
class SetCommand : public Command {
 public:
  SetCommand();
  CLI::App* Register(CLI::App& app) override;
  int Run(ConsoleUi& console) override;

 private:
  std::vector<std::unique_ptr<Command>> parts_;
  std::vector<CLI::App*> subcommands_;
};

// set save FOLDER EXE -o SET [--force]: every patch of FOLDER applied on EXE, as a set.
class SetSaveCommand : public Command {
 public:
  CLI::App* Register(CLI::App& app) override;
  int Run(ConsoleUi& console) override;

 private:
  std::string folder_;
  std::string exe_;
  std::string output_;
  bool force_ = false;
};

// set apply SET EXE [--patches FOLDER]: EXE made to hold exactly the set, in one rewrite.
class SetApplyCommand : public Command {
 public:
  CLI::App* Register(CLI::App& app) override;
  int Run(ConsoleUi& console) override;

 private:
  std::string set_;
  std::string exe_;
  std::string folder_;
  bool noHistory_ = false;
};

// set verify SET EXE [--patches FOLDER] [--exact] [--json]: exits as cmp does, 0 when EXE
// holds exactly the set, 1 with a line per difference, 2 when it cannot tell.
class SetVerifyCommand : public Command {
 public:
  CLI::App* Register(CLI::App& app) override;
  int Run(ConsoleUi& console) override;

 private:
  std::string set_;
  std::string exe_;
  std::string folder_;
  bool exact_ = false;
  bool json_ = false;
};

// set show SET [--json]: what a set holds.
class SetShowCommand : public Command {
 public:
  CLI::App* Register(CLI::App& app) override;
  int Run(ConsoleUi& console) override;

 private:
  std::string set_;
  bool json_ = false;
};

// Reads the set file at `path` (made absolute); false after the error on standard error.
bool ReadSetArgument(const std::string& path, PatchSet& set, ConsoleUi& console);
// The folder of the set's patches: `folder` when given, else the set file's own folder.
std::string SetPatchFolder(const std::string& setPath, const std::string& folder);

}  // namespace varnock::cli
