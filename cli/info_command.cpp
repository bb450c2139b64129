#include "cli/info_command.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/console_ui.h"
#include "cli/json_text.h"
#include "patchfile/load_patch.h"
#include "support/hex_text.h"
#include "support/translation.h"
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
  if (relativePath.empty()) {
    // TRANSLATORS: a line of the summary; keep the value (%1) in the column of the lines below.
    // %1 is the target program, %2 its base name.
    out << TrFormat("Target program:  %1 (base name %2)",
                    {Printable(record.ExeName), Printable(baseName)});
  } else {
    // TRANSLATORS: a line of the summary; keep the value (%1) in the column of the lines below.
    // %1 is the target program, %2 its base name, %3 its path relative to the level editor.
    out << TrFormat("Target program:  %1 (base name %2, in the level editor's folder at %3)",
                    {Printable(record.ExeName), Printable(baseName), Printable(relativePath)});
  }
  // TRANSLATORS: %1 is the version signature of the executable the patch was made from.
  out << '\n' << TrFormat("Made from:       %1", {Printable(record.ExeVersion)}) << '\n';
  // TRANSLATORS: %1 lists flag names, kept in English, or says there is none.
  out << TrFormat("Flags:           %1", {FlagNames(record.Flags)}) << '\n';
  std::string offsets;
  for (std::size_t i = 0; i < record.ArgOffsets.size(); ++i) {
    offsets += (i == 0 ? "" : ", ") + Hex32(record.ArgOffsets[i]);
  }
  const std::string type = ArgTypeName(record.ArgType);
  if (record.ArgType == TextString || record.ArgType == TextStringZ) {
    const std::string length = std::to_string(record.ArgMaxLength);
    if (offsets.empty()) {
      // TRANSLATORS: %1 is the argument type (TextString...), %2 its greatest length.
      out << TrFormat("Argument:        %1, at most %2 characters", {type, length});
    } else {
      // TRANSLATORS: %1 is the argument type (TextString...), %2 its greatest length, %3 the
      // hexadecimal offsets it is written at.
      out << TrFormat("Argument:        %1, at most %2 characters, written at %3",
                      {type, length, offsets});
    }
  } else if (offsets.empty()) {
    // TRANSLATORS: %1 is the argument type (NumByte...) or says there is none.
    out << TrFormat("Argument:        %1", {type});
  } else {
    // TRANSLATORS: %1 is the argument type (NumByte...) or says there is none, %2 the
    // hexadecimal offsets it is written at.
    out << TrFormat("Argument:        %1, written at %2", {type, offsets});
  }
  out << '\n' << TrFormat("Zones:           %1", {std::to_string(record.ZoneCount())}) << '\n';
  for (std::size_t i = 0; i < record.Zones.size(); ++i) {
    const ZoneView zone = record.Zones.View(i);
    // TRANSLATORS: a zone of the summary: %1 is its number, %2 its offset, %3 its length; the
    // bytes of the two lines after it start in the same column.
    out << TrFormat("  %1: offset %2, %3 bytes",
                    {std::to_string(i), Hex32(zone.Offset), std::to_string(zone.Length)})
        << '\n'
        << TrFormat("     original %1", {HexBytes(zone.OriginalBytes)}) << '\n'
        << TrFormat("     patched  %1", {HexBytes(zone.PatchBytes)}) << '\n';
  }
  out << Tr("Description:") << '\n' << ToConsoleLines(record.Description) << '\n';
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
  // TRANSLATORS: no flag set.
  return names.empty() ? Tr("none") : names;
}

std::string ArgTypeName(std::int32_t argType) {
  static constexpr const char* kNames[] = {"TextString", "TextStringZ", "NumByte",
                                           "NumWord",    "NumLong",     "NumFloat"};
  // TRANSLATORS: no argument.
  return argType >= 1 && argType <= 6 ? kNames[argType - 1] : Tr("none");
}

CLI::App* InfoCommand::Register(CLI::App& app) {
  CLI::App* command = app.add_subcommand("info", Tr("Show what the patch file PATCH holds"));
  command->add_option("PATCH", patch_, Tr("The .ptc patch file"))->required();
  command->add_flag("--json", json_, Tr("One JSON object instead of a summary"));
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
