#include "cli/patch_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "engine/patch_batch.h"
#include "engine/patch_operation.h"
#include "engine/patch_status.h"
#include "history/history_store.h"
#include "patchfile/patch_record.h"
#include "support/paths.h"
#include "support/translation.h"

namespace varnock::cli {

namespace {

constexpr const char* kArgumentHelp = TrNoop(
    "The patches' argument. With one patch: its value (without it, the value the file name "
    "carries). With several: VALUE is given to every patch that takes an argument, and "
    "NAME=VALUE, given once for each patch that needs its own, gives VALUE to the patch whose "
    "file name is NAME; patches left without one take the value their file name carries");

// The value for the patch named `name`: its own NAME=VALUE, else a value for every patch.
std::optional<std::string> ArgumentFor(const std::string& name,
                                       const std::vector<std::string>& patchNames,
                                       const std::vector<std::string>& arguments) {
  std::optional<std::string> shared;
  for (const std::string& argument : arguments) {
    const std::size_t equals = argument.find('=');
    const std::string target = equals == std::string::npos ? "" : argument.substr(0, equals);
    const bool named = std::any_of(patchNames.begin(), patchNames.end(), [&](const std::string& n) {
      return EqualsIgnoreCase(n, target);
    });
    if (!named) {
      shared = argument;
    } else if (EqualsIgnoreCase(target, name)) {
      return argument.substr(equals + 1);
    }
  }
  return shared;
}

}  // namespace

CLI::App* PatchCommand::Register(CLI::App& app) {
  CLI::App* command =
      remove_
          ? app.add_subcommand("remove", Tr("Remove the patch PATCH from EXE; several patches are "
                                            "removed in the reverse order, in one rewrite of EXE"))
          : app.add_subcommand("apply",
                               Tr("Apply the patch PATCH to EXE; several patches are applied "
                                  "in the given order, in one rewrite of EXE"));
  command
      ->add_option("FILES", files_,
                   Tr("PATCH [PATCH ...] EXE: the .ptc patch files, then the executable to change"))
      ->required()
      ->expected(2, -1);
  command->add_option("--arg", arguments_, Tr(kArgumentHelp))
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  AddNoHistoryFlag(*command, noHistory_);
  return command;
}

int PatchCommand::Run(ConsoleUi& console) {
  return files_.size() == 2 ? RunOne(console) : RunBatch(console);
}

int PatchCommand::RunOne(ConsoleUi& console) {
  // Only a name with an argument between '#' asks for one: a value given for any other patch
  // would be dropped without a word.
  const std::string name = GetFileName(AbsolutePath(files_[0]));
  if (!arguments_.empty() && name.find('#') == std::string::npos) {
    // TRANSLATORS: %1 is the patch file's name.
    console.Err() << TrFormat("--arg: the patch file's name %1 carries no argument between two '#'",
                              {Printable(name)})
                  << "\n";
    return kExitUsage;
  }
  if (!arguments_.empty()) {
    console.SetAnswer(arguments_.back());
  }
  PatchRecord record;
  const std::string patch = AbsolutePath(files_[0]);
  const std::string exe = AbsolutePath(files_[1]);
  OperationHistory history(noHistory_ ? std::string() : HistoryFolder());
  const ResultCode result = RunPatchOperation(
      patch, exe, remove_, record, {.ui = console, .history = noHistory_ ? nullptr : &history});
  TellHistoryFailure(history, console);
  if (remove_ && result == ResultFailed && name.find('#') != std::string::npos) {
    // The value the executable holds, when it is not the one the removal used: a hint on the
    // error stream, so that the output stays the closing message alone. The value is read from
    // the file and escaped like any other text from a file.
    const auto applied = AppliedArgument(patch, exe);
    if (applied && (arguments_.empty() || *applied != arguments_.back())) {
      // TRANSLATORS: %1 is the argument value the executable holds (twice).
      console.Err() << TrFormat("applied with %1: --arg %1 removes it", {Printable(*applied)})
                    << "\n";
    }
  }
  return ExitStatusOf(result);
}

int PatchCommand::RunBatch(ConsoleUi& console) {
  const std::vector<std::string> patches(files_.begin(), files_.end() - 1);
  std::vector<std::string> names;
  names.reserve(patches.size());
  for (const std::string& patch : patches) {
    names.push_back(GetFileName(AbsolutePath(patch)));
  }
  std::vector<BatchItem> items;
  items.reserve(patches.size());
  for (std::size_t i = 0; i < patches.size(); ++i) {
    items.push_back({AbsolutePath(patches[i]), ArgumentFor(names[i], names, arguments_)});
  }
  OperationHistory history(noHistory_ ? std::string() : HistoryFolder());
  const ResultCode result =
      PerformBatch(items, AbsolutePath(files_.back()), remove_,
                   {.ui = console, .history = noHistory_ ? nullptr : &history});
  TellHistoryFailure(history, console);
  ShowClosingMessage(result, remove_, console);
  return ExitStatusOf(result);
}

}  // namespace varnock::cli
