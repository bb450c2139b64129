#include "cli/info_command.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/console_ui.h"
#include "cli/json_text.h"
#include "patchfile/load_patch.h"
#include "support/hex_text.h"
#include "target/target_table.h"

namespace varnock::cli {

namespace {

std::string Hex32(std::int32_t value) {
  return HexOffset(static_cast<std::uint32_t>(value), 8);
}

nlohmann::json ToJson(const PatchRecord& record, const std::string& baseName,
                      const std::string& relativePath) {
  nlohmann::json zones = nlohmann::json::array();
  for (std::size_t i = 0; i < record.Zones.size(); ++i) {
    const ZoneView zone = record.Zones.View(i);
    zones.push_back({{"Offset", zone.Offset},
                     {"Length", zone.Length},
                     {"OriginalBytes", HexBytes(zone.OriginalBytes)},
                     {"PatchBytes", HexBytes(zone.PatchBytes)}});
  }
  return {{"ZoneCount", record.ZoneCount()},
          {"Flags", record.Flags},
          {"ArgOffsetCount", record.ArgOffsetCount()},
          {"ArgOffsets", record.ArgOffsets},
          {"ArgType", record.ArgType},
          {"ArgMaxLength", record.ArgMaxLength},
          {"ExeVersion", record.ExeVersion},
          {"Description", record.Description},
          {"ExeName", record.ExeName},
          {"TargetBaseName", baseName},
          {"TargetRelativePath", relativePath},
          {"Zones", zones}};
}

void PrintSummary(std::ostream& out, const PatchRecord& record, const std::string& baseName,
                  const std::string& relativePath) {
  // The texts come from the file: their control characters are shown escaped.
  out << "Target program:  " << Printable(record.ExeName) << " (base name " << Printable(baseName);
  if (!relativePath.empty()) {
    out << ", in the level editor's folder at " << Printable(relativePath);
  }
  out << ")\n";
  out << "Made from:       " << Printable(record.ExeVersion) << '\n';
  out << "Flags:           " << FlagNames(record.Flags) << '\n';
  out << "Argument:        " << ArgTypeName(record.ArgType);
  if (record.ArgType == TextString || record.ArgType == TextStringZ) {
    out << ", at most " << record.ArgMaxLength << " characters";
  }
  for (std::size_t i = 0; i < record.ArgOffsets.size(); ++i) {
    out << (i == 0 ? ", written at " : ", ") << Hex32(record.ArgOffsets[i]);
  }
  out << '\n';
  out << "Zones:           " << record.ZoneCount() << '\n';
  for (std::size_t i = 0; i < record.Zones.size(); ++i) {
    const ZoneView zone = record.Zones.View(i);
    out << "  " << i << ": offset " << Hex32(zone.Offset) << ", " << zone.Length << " bytes\n"
        << "     original " << HexBytes(zone.OriginalBytes) << '\n'
        << "     patched  " << HexBytes(zone.PatchBytes) << '\n';
  }
  out << "Description:\n" << ToConsoleLines(record.Description) << '\n';
}

}  // namespace

std::string HexBytes(ByteSpan bytes) {
  return varnock::HexBytes(bytes, "");
}

std::string FlagNames(std::int32_t flags) {
  static constexpr std::pair<std::int32_t, const char*> kNames[] = {
      {Dynamic, "Dynamic"},
      {HasArgument, "HasArgument"},
      {RecordAlignment, "RecordAlignment"},
      {DontVerifySource, "DontVerifySource"},
      {SameExeVersionOnly, "SameExeVersionOnly"}};
  std::string names;
  for (const auto& [bit, name] : kNames) {
    if ((flags & bit) != 0) {
      names += names.empty() ? name : std::string(", ") + name;
    }
  }
  return names.empty() ? "none" : names;
}

std::string ArgTypeName(std::int32_t argType) {
  static constexpr const char* kNames[] = {"TextString", "TextStringZ", "NumByte",
                                           "NumWord",    "NumLong",     "NumFloat"};
  return argType >= 1 && argType <= 6 ? kNames[argType - 1] : "none";
}

CLI::App* InfoCommand::Register(CLI::App& app) {
  CLI::App* command = app.add_subcommand("info", "Show what the patch file PATCH holds");
  command->add_option("PATCH", patch_, "The .ptc patch file")->required();
  command->add_flag("--json", json_, "One JSON object instead of a summary");
  return command;
}

int InfoCommand::Run(ConsoleUi& console) {
  PatchRecord record;
  std::string baseName;
  std::string relativePath;
  if (!GetPatchTarget(AbsolutePath(patch_), record, console, baseName, relativePath)) {
    return kExitFailure;
  }
  if (json_) {
    console.Out() << JsonText(ToJson(record, baseName, relativePath)) << '\n';
  } else {
    PrintSummary(console.Out(), record, baseName, relativePath);
  }
  return kExitOk;
}

}  // namespace varnock::cli
