#include "cli/check_command.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/info_command.h"
#include "cli/json_text.h"
#include "engine/dry_run.h"
#include "support/paths.h"

namespace varnock::cli {

namespace {

const char* WouldWord(ResultCode result) {
  switch (result) {
    case ResultDone:
      return "done";
    case ResultAlreadyDone:
      return "already-done";
    default:
      return "fail";
  }
}

nlohmann::json ToJson(const DryRun& run) {
  nlohmann::json zones = nlohmann::json::array();
  for (const ZoneReport& zone : run.status.zones) {
    zones.push_back({{"index", zone.index},
                     {"offset", zone.offset},
                     {"length", zone.length},
                     {"original", HexBytes(zone.original)},
                     {"patched", HexBytes(zone.patched)},
                     {"found", HexBytes(zone.found)},
                     {"verdict", VerdictWord(zone.verdict)}});
  }
  nlohmann::json result = {
      {"status", StateWord(run.status.state)}, {"would", WouldWord(run.would)}, {"zones", zones}};
  if (run.status.argument) {
    result["argument"] = *run.status.argument;
  }
  if (run.status.placed) {
    result["shift"] = run.status.shift;
  }
  if (!run.status.reason.empty()) {
    result["reason"] = run.status.reason;
  }
  return result;
}

void PrintReport(std::ostream& out, const DryRun& run) {
  out << "Status: " << StateWord(run.status.state);
  if (run.status.argument) {
    out << ", applied with argument " << Printable(*run.status.argument);
  }
  out << "\nWould: " << WouldWord(run.would) << '\n';
  if (run.status.placed && run.status.shift != 0) {
    out << "Found moved by " << run.status.shift << " bytes\n";
  }
  if (!run.status.placed && !run.status.zones.empty()) {
    out << "Not placed: " << run.status.reason << '\n';
  }
  for (const ZoneReport& zone : run.status.zones) {
    out << "Zone " << zone.index << " at 0x" << std::uppercase << std::hex << zone.offset
        << std::dec << ", " << zone.length << " bytes: " << VerdictWord(zone.verdict)
        << (zone.written ? "" : " (alignment record, never written)") << '\n'
        << "  original " << HexBytes(zone.original) << '\n'
        << "  patched  " << HexBytes(zone.patched) << '\n'
        << "  found    " << HexBytes(zone.found) << '\n';
  }
}

}  // namespace

CLI::App* CheckCommand::Register(CLI::App& app) {
  CLI::App* command =
      app.add_subcommand("check",
                         "Show what applying (or removing) PATCH would do to EXE, zone by zone; "
                         "writes nothing");
  command->add_option("PATCH", patch_, "The .ptc patch file")->required();
  command->add_option("EXE", exe_, "The executable")->required();
  command->add_flag("--remove", remove_, "Check a removal instead of an apply");
  command->add_option("--arg", argument_,
                      "The patch's argument (without it, the value the file name carries)");
  command->add_flag("--json", json_, "One JSON object instead of a report");
  return command;
}

int CheckCommand::Run(ConsoleUi& console) {
  const std::string patch = AbsolutePath(patch_);
  // As with apply, an argument reaches the engine only through a name that declares one.
  const bool takesArgument = GetFileName(patch).find('#') != std::string::npos;
  const DryRun run = CheckOperation(patch, AbsolutePath(exe_), remove_,
                                    takesArgument ? argument_ : std::nullopt, console);
  if (json_) {
    console.Out() << JsonText(ToJson(run)) << '\n';
  } else {
    PrintReport(console.Out(), run);
  }
  return ExitStatusOf(run.would);
}

}  // namespace varnock::cli
