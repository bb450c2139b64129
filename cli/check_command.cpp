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

// The object is written zone by zone: a patch of millions of zones is never held as one JSON
// document.
void PrintJson(std::ostream& out, const DryRun& run) {
  nlohmann::json head = {{"status", StateWord(run.status.state)}, {"would", WouldWord(run.would)}};
  if (run.status.argument) {
    head["argument"] = *run.status.argument;
  }
  if (run.status.placed) {
    head["shift"] = run.status.shift;
  }
  if (!run.status.reason.empty()) {
    head["reason"] = run.status.reason;
  }
  std::string text = JsonLine(head);
  text.pop_back();  // the closing brace: the zones follow
  out << text << ",\"zones\": [";
  for (std::size_t i = 0; i < run.ZoneCount(); ++i) {
    const ZoneReport zone = run.Zone(i);
    const nlohmann::json item = {{"index", zone.index},
                                 {"offset", zone.offset},
                                 {"length", zone.length},
                                 {"original", HexBytes(zone.original)},
                                 {"patched", HexBytes(zone.patched)},
                                 {"found", HexBytes(zone.found)},
                                 {"verdict", VerdictWord(zone.verdict)}};
    out << (i == 0 ? "\n  " : ",\n  ") << JsonLine(item);
  }
  out << "\n]}\n";
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
  if (!run.status.placed && run.ZoneCount() > 0) {
    out << "Not placed: " << run.status.reason << '\n';
  }
  for (std::size_t i = 0; i < run.ZoneCount(); ++i) {
    const ZoneReport zone = run.Zone(i);
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
    PrintJson(console.Out(), run);
  } else {
    PrintReport(console.Out(), run);
  }
  return ExitStatusOf(run.would);
}

}  // namespace varnock::cli
