#include <CLI/CLI.hpp>
#include <iomanip>
#include <nlohmann/json.hpp>

#include "cli/json_text.h"
#include "cli/set_command.h"
#include "sets/set_operations.h"
#include "support/translation.h"

namespace varnock::cli {

namespace {

void PrintJson(std::ostream& out, bool holds, bool identical, const SetPlan& plan) {
  nlohmann::json differences = nlohmann::json::array();
  for (const SetDifference& difference : plan.differences) {
    differences.push_back({{"patch", difference.patch},
                           {"kind", DifferenceWord(difference.kind)},
                           {"detail", difference.detail}});
  }
  out << JsonText({{"holds", holds}, {"identical", identical}, {"differences", differences}})
      << '\n';
}

void PrintLines(std::ostream& out, const std::string& exe, bool holds, bool identical,
                const SetPlan& plan) {
  for (const SetDifference& difference : plan.differences) {
    out << std::left << std::setw(15) << DifferenceWord(difference.kind)
        << Printable(difference.patch) << "  " << Printable(difference.detail) << '\n';
  }
  const char* text = nullptr;
  if (holds) {
    // TRANSLATORS: %1 is the executable's path.
    text = identical ? Tr("%1 holds the set; it is byte for byte the executable the set was saved "
                          "from")
                     // TRANSLATORS: %1 is the executable's path.
                     : Tr("%1 holds the set; it is not byte for byte the executable the set was "
                          "saved from");
  } else {
    // TRANSLATORS: %1 is the executable's path.
    text = identical ? Tr("%1 does not hold the set; it is byte for byte the executable the set "
                          "was saved from")
                     // TRANSLATORS: %1 is the executable's path.
                     : Tr("%1 does not hold the set; it is not byte for byte the executable the "
                          "set was saved from");
  }
  out << FillPlaceholders(text, {Printable(exe)}) << '\n';
}

}  // namespace

CLI::App* SetVerifyCommand::Register(CLI::App& app) {
  CLI::App* command = app.add_subcommand(
      "verify", Tr("Tell whether EXE holds exactly the set SET: exit 0 when it does, 1 with a line "
                   "per difference, 2 when it cannot tell"));
  command->add_option("SET", set_, Tr("The set file (.ptcset)"))->required();
  command->add_option("EXE", exe_, Tr("The executable"))->required();
  command->add_option("--patches", folder_,
                      Tr("The folder of the set's .ptc files (by default the set file's folder)"));
  command->add_flag("--exact", exact_,
                    Tr("EXE must also be byte for byte the executable the set was saved from"));
  command->add_flag("--json", json_, Tr("A JSON object: holds, identical and the differences"));
  return command;
}

int SetVerifyCommand::Run(ConsoleUi& console) {
  PatchSet set;
  if (!ReadSetArgument(set_, set, console)) {
    return kExitUsage;
  }
  const SetCheck check = CheckSet(set, SetPatchFolder(set_, folder_), AbsolutePath(exe_), console);
  if (!check.read) {
    return kExitUsage;
  }
  if (!check.plan.problems.empty()) {
    for (const std::string& problem : check.plan.problems) {
      // TRANSLATORS: %1 is a problem of the set's patches.
      console.Err() << TrFormat("ERROR: %1", {Printable(problem)}) << '\n';
    }
    return kExitUsage;
  }
  if (check.otherProgram) {
    // TRANSLATORS: %1 is the executable's path, %2 and %3 program names.
    console.Err() << TrFormat("%1 is %2, the set is for %3",
                              {Printable(exe_), Printable(ProgramOf(AbsolutePath(exe_))),
                               Printable(set.program)})
                  << '\n';
  } else if (const std::string note = OtherBuildNote(set, check); !note.empty()) {
    console.Err() << Printable(note) << '\n';
  }
  const bool holds = check.plan.Holds() && !check.otherProgram;
  const bool identical = check.Identical(set);
  if (json_) {
    PrintJson(console.Out(), holds, identical, check.plan);
  } else {
    PrintLines(console.Out(), exe_, holds, identical, check.plan);
  }
  return holds && (identical || !exact_) ? kExitOk : kExitFailure;
}

}  // namespace varnock::cli
