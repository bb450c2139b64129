#include "cli/check_command.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/info_command.h"
#include "cli/json_text.h"
#include "engine/dry_run.h"
#include "support/paths.h"
#include "support/translation.h"

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

// The status word, the would word and the verdicts stay as they are, in every language.
void PrintReport(std::ostream& out, const DryRun& run) {
  const char* state = StateWord(run.status.state);
  if (run.status.argument) {
    // TRANSLATORS: %1 is a status word (applied, not-applied...), kept in English; %2 the
    // argument's value.
    out << TrFormat("Status: %1, applied with argument %2",
                    {state, Printable(*run.status.argument)});
  } else {
    // TRANSLATORS: %1 is a status word (applied, not-applied...), kept in English.
    out << TrFormat("Status: %1", {state});
  }
  // TRANSLATORS: %1 is done, already-done or fail, kept in English.
  out << '\n' << TrFormat("Would: %1", {WouldWord(run.would)}) << '\n';
  if (run.status.placed && run.status.shift != 0) {
    out << TrFormat("Found moved by %1 bytes", {std::to_string(run.status.shift)}) << '\n';
  }
  if (!run.status.placed && run.ZoneCount() > 0) {
    out << TrFormat("Not placed: %1", {run.status.reason}) << '\n';
  }
  for (std::size_t i = 0; i < run.ZoneCount(); ++i) {
    const ZoneReport zone = run.Zone(i);
    std::ostringstream offset;
    offset << std::uppercase << std::hex << zone.offset;
    const std::string index = std::to_string(zone.index);
    const std::string length = std::to_string(zone.length);
    const char* verdict = VerdictWord(zone.verdict);
    if (zone.written) {
      // TRANSLATORS: %1 is the zone's number, %2 its hexadecimal offset, %3 its length in bytes,
      // %4 a verdict word (original, patched...), kept in English.
      out << TrFormat("Zone %1 at 0x%2, %3 bytes: %4", {index, offset.str(), length, verdict});
    } else {
      // TRANSLATORS: %1 is the zone's number, %2 its hexadecimal offset, %3 its length in bytes,
      // %4 a verdict word (original, patched...), kept in English.
      out << TrFormat("Zone %1 at 0x%2, %3 bytes: %4 (alignment record, never written)",
                      {index, offset.str(), length, verdict});
    }
    out << '\n'
        // TRANSLATORS: the three lines of bytes of a zone; keep their bytes (%1) starting in the
        // same column.
        << TrFormat("  original %1", {HexBytes(zone.original)}) << '\n'
        << TrFormat("  patched  %1", {HexBytes(zone.patched)}) << '\n'
        << TrFormat("  found    %1", {HexBytes(zone.found)}) << '\n';
  }
}

}  // namespace

CLI::App* CheckCommand::Register(CLI::App& app) {
  CLI::App* command = app.add_subcommand(
      "check", Tr("Show what applying (or removing) PATCH would do to EXE, zone by zone; "
                  "writes nothing"));
  command->add_option("PATCH", patch_, Tr("The .ptc patch file"))->required();
  command->add_option("EXE", exe_, Tr("The executable"))->required();
  command->add_flag("--remove", remove_, Tr("Check a removal instead of an apply"));
  command->add_option("--arg", argument_,
                      Tr("The patch's argument (without it, the value the file name carries)"));
  command->add_flag("--json", json_, Tr("One JSON object instead of a report"));
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
