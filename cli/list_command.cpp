#include "cli/list_command.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/json_text.h"
#include "engine/catalogue.h"
#include "engine/patch_folder_text.h"
#include "support/translation.h"
#include "target/exe_version.h"

namespace varnock::cli {

CLI::App* ListCommand::Register(CLI::App& app) {
  CLI::App* command =
      app.add_subcommand("list", Tr("List the patches of FOLDER, the best fitting EXE first"));
  command->add_option("FOLDER", folder_, Tr("The folder of .ptc files"))->required();
  command->add_option("--exe", exe_, Tr("The chosen executable, whose version is ranked against"));
  command->add_flag("--json", json_, Tr("A JSON array instead of one name a line"));
  return command;
}

int ListCommand::Run(ConsoleUi& console) {
  // Without a chosen executable the signature ranked against is empty, as at start-up; a
  // chosen one that cannot be read has told why and ranks nothing first.
  std::string current;
  if (exe_.has_value()) {
    current = GetExeVersion(AbsolutePath(*exe_), console);
  }
  PatchRecord record;
  const std::vector<CatalogueEntry> entries =
      BuildCatalogue(AbsolutePath(folder_), current, record, console);
  if (entries.empty()) {
    console.ShowMessage(texts::EmptyPatchFolderText(AbsolutePath(folder_)), MessageIcon::None);
    return kExitFailure;
  }
  if (json_) {
    nlohmann::json list = nlohmann::json::array();
    for (const CatalogueEntry& entry : entries) {
      list.push_back(
          {{"file", entry.fileName}, {"rank", entry.rank}, {"ExeVersion", entry.exeVersion}});
    }
    console.Out() << JsonText(list) << '\n';
  } else {
    for (const CatalogueEntry& entry : entries) {
      console.Out() << Printable(entry.fileName) << '\n';
    }
  }
  return kExitOk;
}

}  // namespace varnock::cli
