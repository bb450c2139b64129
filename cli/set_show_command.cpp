#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/json_text.h"
#include "cli/set_command.h"
#include "support/translation.h"

namespace varnock::cli {

namespace {

nlohmann::json OrNull(const std::string& text) {
  return text.empty() ? nlohmann::json() : nlohmann::json(text);
}

void PrintJson(std::ostream& out, const PatchSet& set) {
  nlohmann::json patches = nlohmann::json::array();
  for (const SetPatch& patch : set.patches) {
    patches.push_back(
        {{"name", patch.name},
         {"sha256", patch.sha256},
         {"argument", patch.argument ? nlohmann::json(*patch.argument) : nlohmann::json()}});
  }
  out << JsonText({{"program", set.program},
                   {"signature", set.signature},
                   {"sha256", set.sha256},
                   {"original_sha256", OrNull(set.originalSha256)},
                   {"patches", patches}})
      << '\n';
}

void PrintLines(std::ostream& out, const PatchSet& set) {
  out << "program          " << Printable(set.program) << '\n'
      << "signature        " << Printable(set.signature) << '\n'
      << "sha256           " << set.sha256 << '\n'
      << "original-sha256  " << (set.originalSha256.empty() ? "unknown" : set.originalSha256)
      << '\n'
      << "patches          " << set.patches.size() << '\n';
  for (const SetPatch& patch : set.patches) {
    out << "  " << patch.sha256 << "  " << Printable(patch.name);
    if (patch.argument) {
      out << "  argument " << Printable(*patch.argument);
    }
    out << '\n';
  }
}

}  // namespace

CLI::App* SetShowCommand::Register(CLI::App& app) {
  CLI::App* command = app.add_subcommand("show", Tr("Show what the set SET holds"));
  command->add_option("SET", set_, Tr("The set file (.ptcset)"))->required();
  command->add_flag("--json", json_, Tr("A JSON object: program, signature, sums and the patches"));
  return command;
}

int SetShowCommand::Run(ConsoleUi& console) {
  PatchSet set;
  if (!ReadSetArgument(set_, set, console)) {
    return kExitFailure;
  }
  if (json_) {
    PrintJson(console.Out(), set);
  } else {
    PrintLines(console.Out(), set);
  }
  return kExitOk;
}

}  // namespace varnock::cli
