#include "cli/history_command.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/json_text.h"
#include "history/history_actions.h"
#include "history/history_summary.h"
#include "history/history_view.h"
#include "support/translation.h"

namespace varnock::cli {

namespace {

nlohmann::json ToJson(const HistoryRecord& record, const HistoryView& view) {
  const std::vector<HistoryRow> rows = HistoryRows(record, view);
  nlohmann::json operations = nlohmann::json::array();
  for (std::size_t i = 0; i < record.entries.size(); ++i) {
    const HistoryEntry& entry = record.entries[i];
    nlohmann::json patches = nlohmann::json::array();
    for (const PatchNote& patch : entry.patches) {
      patches.push_back({{"name", patch.name},
                         {"sha256", patch.sha256},
                         {"argument", patch.argument ? nlohmann::json(*patch.argument) : nullptr}});
    }
    operations.push_back({{"time", entry.time},
                          {"operation", entry.kind},
                          {"patches", patches},
                          {"before", entry.before},
                          {"after", entry.after},
                          {"used", view.states[i] != EntryState::Unused},
                          {"state", rows[i].state},
                          {"bytes", [&] {
                             std::size_t bytes = 0;
                             for (const RecordedRange& range : entry.ranges) {
                               bytes += range.before.size();
                             }
                             return bytes;
                           }()}});
  }
  return {{"path", record.path},
          {"original", {{"size", record.originalSize}, {"sha256", record.originalSha256}}},
          {"operations", operations},
          {"matches", view.matchesLast}};
}

int Tell(const HistoryOutcome& outcome, ConsoleUi& console) {
  console.ShowMessage(outcome.message, outcome.ok ? MessageIcon::None : MessageIcon::Critical);
  return outcome.ok ? kExitOk : kExitFailure;
}

}  // namespace

CLI::App* HistoryCommand::Register(CLI::App& app) {
  CLI::App* command = app.add_subcommand(
      "history", Tr("Show the changes Varnock made to EXE, newest last, and whether EXE still "
                    "matches the last of them"));
  command->add_option("EXE", exe_, Tr("The executable"))->required();
  command->add_flag("--json", json_, Tr("A JSON object instead of one line an operation"));
  return command;
}

int HistoryCommand::Run(ConsoleUi& console) {
  const std::string exe = AbsolutePath(exe_);
  OpenedHistory opened;
  std::string error;
  if (!OpenHistory(exe, HistoryFolder(), opened, error)) {
    console.ShowMessage(error, MessageIcon::Critical);
    return kExitFailure;
  }
  const HistoryRecord& record = opened.found.record;
  const HistoryView& view = opened.view;
  for (const std::string& note : HistoryNotes(record, view)) {
    console.Err() << Printable(note) << '\n';
  }
  if (json_) {
    console.Out() << JsonText(ToJson(record, view)) << '\n';
    return kExitOk;
  }
  console.Out() << Printable(exe)
                << '\n'
                // TRANSLATORS: %1 is the original executable's size in bytes, %2 its SHA-256 sum.
                << TrFormat("original: %1 bytes, SHA-256 %2",
                            {std::to_string(record.originalSize), record.originalSha256})
                << '\n';
  for (const HistoryRow& row : HistoryRows(record, view)) {
    console.Out() << row.time << "  " << Printable(row.what)
                  << (row.patches.empty() ? "" : "  " + Printable(row.patches))
                  << (row.arguments.empty() ? "" : "  --arg " + Printable(row.arguments))
                  << (row.state.empty() ? "" : "  " + std::string(Tr(row.state.c_str()))) << '\n';
  }
  console.Out() << MatchesLastText(view.matchesLast) << '\n';
  return kExitOk;
}

CLI::App* RestoreCommand::Register(CLI::App& app) {
  CLI::App* command = app.add_subcommand(
      "restore", Tr("Write back every original byte Varnock recorded for EXE, in one rewrite, and "
                    "check EXE against its original's SHA-256"));
  command->add_option("EXE", exe_, Tr("The executable"))->required();
  command->add_flag("--check", check_,
                    Tr("Say what restore would do, and exit as it would; "
                       "write nothing"));
  command->add_flag("--force", force_,
                    Tr("Write Varnock's recorded bytes back even when another "
                       "program changed other bytes, leaving those as they are"));
  return command;
}

int RestoreCommand::Run(ConsoleUi& console) {
  HistoryOutcome outcome = RestoreOriginal(
      {AbsolutePath(exe_), HistoryFolder()}, check_ ? RestoreRun::Check : RestoreRun::Write,
      force_ ? RestoreReach::Force : RestoreReach::WholeOriginal);
  if (outcome.forceable) {
    outcome.message = TrFormat(
        // TRANSLATORS: %1 says why restore stopped.
        "%1; --force writes Varnock's recorded bytes back and leaves the other program's bytes "
        "as they are",
        {outcome.message});
  }
  return Tell(outcome, console);
}

CLI::App* UndoCommand::Register(CLI::App& app) {
  CLI::App* command = app.add_subcommand(
      "undo", Tr("Take back the last change Varnock recorded for EXE, when EXE is still as that "
                 "change left it"));
  command->add_option("EXE", exe_, Tr("The executable"))->required();
  return command;
}

int UndoCommand::Run(ConsoleUi& console) {
  return Tell(UndoLast({AbsolutePath(exe_), HistoryFolder()}), console);
}

}  // namespace varnock::cli
