#include "cli/status_command.h"

#include <CLI/CLI.hpp>
#include <iomanip>
#include <nlohmann/json.hpp>

#include "cli/json_text.h"
#include "engine/conflicts_text.h"
#include "engine/folder_status.h"
#include "engine/patch_folder_text.h"
#include "support/translation.h"

namespace varnock::cli {

namespace {

// One object a patch, written as it is made: a folder of thousands of patches that share bytes
// is never held as one document.
void PrintJson(std::ostream& out, const FolderStatus& folder) {
  out << "[";
  for (std::size_t i = 0; i < folder.entries.size(); ++i) {
    const FolderStatusEntry& entry = folder.entries[i];
    nlohmann::json item = {{"file", entry.fileName},
                           {"rank", entry.rank},
                           {"status", StateWord(entry.status.state)},
                           {"conflicts", folder.ConflictNames(i)},
                           {"conflict_count", folder.conflicts.Count(i)}};
    if (entry.status.argument) {
      item["argument"] = *entry.status.argument;
    }
    if (entry.status.placed && entry.status.shift != 0) {
      item["shift"] = entry.status.shift;
    }
    out << (i == 0 ? "\n  " : ",\n  ") << JsonLine(item);
  }
  out << "\n]\n";
}

void PrintLines(std::ostream& out, const FolderStatus& folder) {
  for (std::size_t i = 0; i < folder.entries.size(); ++i) {
    const FolderStatusEntry& entry = folder.entries[i];
    out << std::left << std::setw(15) << StateWord(entry.status.state) << Printable(entry.fileName);
    if (entry.status.argument) {
      // TRANSLATORS: %1 is the argument value the patch is applied with.
      out << TrFormat("  argument %1", {Printable(*entry.status.argument)});
    }
    const std::string conflicts = ConflictsText(folder, i);
    if (!conflicts.empty()) {
      out << "  " << Printable(conflicts);
    }
    out << '\n';
  }
}

}  // namespace

CLI::App* StatusCommand::Register(CLI::App& app) {
  CLI::App* command = app.add_subcommand(
      "status", Tr("Show how every patch of FOLDER stands on EXE, and which patches share bytes"));
  command->add_option("FOLDER", folder_, Tr("The folder of .ptc files"))->required();
  command->add_option("EXE", exe_, Tr("The executable"))->required();
  command->add_flag("--json", json_, Tr("A JSON array instead of one line a patch"));
  return command;
}

int StatusCommand::Run(ConsoleUi& console) {
  FolderStatus folder;
  if (!GetFolderStatus(AbsolutePath(folder_), AbsolutePath(exe_), folder, console)) {
    return kExitFailure;
  }
  if (folder.entries.empty()) {
    console.ShowMessage(texts::EmptyPatchFolderText(AbsolutePath(folder_)), MessageIcon::None);
    return kExitFailure;
  }
  if (json_) {
    PrintJson(console.Out(), folder);
  } else {
    PrintLines(console.Out(), folder);
  }
  return kExitOk;
}

}  // namespace varnock::cli
