#include "cli/status_command.h"

#include <CLI/CLI.hpp>
#include <iomanip>
#include <nlohmann/json.hpp>

#include "app/folder_status.h"
#include "app/window_texts.h"
#include "cli/json_text.h"

namespace varnock::cli {

namespace {

nlohmann::json ToJson(const std::vector<FolderStatusEntry>& entries) {
  nlohmann::json list = nlohmann::json::array();
  for (const FolderStatusEntry& entry : entries) {
    nlohmann::json item = {{"file", entry.fileName},
                           {"rank", entry.rank},
                           {"status", StateWord(entry.status.state)},
                           {"conflicts", entry.conflicts}};
    if (entry.status.argument) {
      item["argument"] = *entry.status.argument;
    }
    if (entry.status.placed && entry.status.shift != 0) {
      item["shift"] = entry.status.shift;
    }
    list.push_back(std::move(item));
  }
  return list;
}

void PrintLines(std::ostream& out, const std::vector<FolderStatusEntry>& entries) {
  for (const FolderStatusEntry& entry : entries) {
    out << std::left << std::setw(15) << StateWord(entry.status.state) << Printable(entry.fileName);
    if (entry.status.argument) {
      out << "  argument " << Printable(*entry.status.argument);
    }
    for (std::size_t i = 0; i < entry.conflicts.size(); ++i) {
      out << (i == 0 ? "  conflicts with " : ", ") << Printable(entry.conflicts[i]);
    }
    out << '\n';
  }
}

}  // namespace

CLI::App* StatusCommand::Register(CLI::App& app) {
  CLI::App* command = app.add_subcommand(
      "status", "Show how every patch of FOLDER stands on EXE, and which patches share bytes");
  command->add_option("FOLDER", folder_, "The folder of .ptc files")->required();
  command->add_option("EXE", exe_, "The executable")->required();
  command->add_flag("--json", json_, "A JSON array instead of one line a patch");
  return command;
}

int StatusCommand::Run(ConsoleUi& console) {
  std::vector<FolderStatusEntry> entries;
  if (!GetFolderStatus(AbsolutePath(folder_), AbsolutePath(exe_), entries, console)) {
    return kExitFailure;
  }
  if (entries.empty()) {
    console.ShowMessage(texts::EmptyPatchFolderText(AbsolutePath(folder_)), MessageIcon::None);
    return kExitFailure;
  }
  if (json_) {
    console.Out() << JsonText(ToJson(entries)) << '\n';
  } else {
    PrintLines(console.Out(), entries);
  }
  return kExitOk;
}

}  // namespace varnock::cli
