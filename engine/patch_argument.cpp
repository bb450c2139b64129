#include "engine/patch_argument.h"

#include "engine/argument_bytes.h"
#include "engine/silent_ui.h"
#include "support/hex_text.h"
#include "support/paths.h"
#include "support/translation.h"

namespace varnock {

namespace {

// An offset's digits as the messages show them: its 32 bits, so a negative one in full.
std::string Hex(std::int64_t value) {
  return HexDigits(static_cast<std::uint32_t>(value));
}

// The index of the first zone, in zone order, whose run contains the offset.
std::optional<std::size_t> ZoneContaining(const PatchRecord& record, std::int64_t offset) {
  for (std::size_t i = 0; i < record.Zones.size(); ++i) {
    const ZoneView zone = record.Zones.View(i);
    if (zone.Offset <= offset && offset < std::int64_t{zone.Offset} + zone.Length) {
      return i;
    }
  }
  return std::nullopt;
}

// Copies the bytes into the zone's PatchBytes at `offset`; never past the zone's end.
bool PlaceBytes(const Bytes& bytes, std::int32_t offset, PatchRecord& record, UserInterface& ui,
                ArgumentFailure& failure) {
  const std::optional<std::size_t> index = ZoneContaining(record, offset);
  if (!index) {
    ui.ShowMessage(
        // TRANSLATORS: %1 is a hexadecimal offset.
        TrFormat("ERROR: cann't found offset of macro corresponding to argumento offset 0x%1",
                 {Hex(offset)}),
        MessageIcon::Critical);
    return false;
  }
  const ZoneView zone = record.Zones.View(*index);
  const auto start = static_cast<std::size_t>(std::int64_t{offset} - zone.Offset);
  const std::size_t end = start + bytes.size();
  if (end > static_cast<std::size_t>(zone.Length) || end > zone.PatchBytes.size()) {
    failure.general = true;
    failure.description = TrFormat(
        // TRANSLATORS: %1 and %4 are numbers of bytes, %2 and %3 hexadecimal offsets.
        "the argument of %1 bytes at offset 0x%2 runs past the end of its zone at offset 0x%3 of "
        "%4 bytes",
        {std::to_string(bytes.size()), Hex(offset), Hex(zone.Offset), std::to_string(zone.Length)});
    return false;
  }
  std::copy(bytes.begin(), bytes.end(),
            record.Zones.PatchBytes(*index).begin() + static_cast<long>(start));
  return true;
}

}  // namespace

std::string GetPatchArgument(const std::string& patchPath, UserInterface& ui) {
  const std::string baseName = GetBaseName(patchPath);
  const std::size_t opening = baseName.find('#');
  if (opening == std::string::npos) {
    // TRANSLATORS: %1 is the patch file's path.
    ui.ShowMessage(TrFormatCrLf("Error trying to applicate patch: %1\nMissing characters '#' used "
                                "to delimite argument",
                                {patchPath}),
                   MessageIcon::Critical);
    return {};
  }
  const std::size_t closing = baseName.find('#', opening + 1);
  if (closing == std::string::npos) {
    // TRANSLATORS: %1 is the patch file's path.
    ui.ShowMessage(TrFormatCrLf("Error trying to applicate patch: %1\nMissing ending character '#' "
                                "used to delimite argument in patch name",
                                {patchPath}),
                   MessageIcon::Critical);
    return {};
  }
  return baseName.substr(opening + 1, closing - opening - 1);
}

std::string NamedArgument(const std::string& patchPath) {
  SilentUi silent;
  return GetPatchArgument(patchPath, silent);
}

bool InsertPatchArgument(const std::string& patchPath, PatchRecord& record, UserInterface& ui,
                         ArgumentFailure& failure) {
  failure = {};
  const std::string argument = GetPatchArgument(patchPath, ui);
  return !argument.empty() && InsertArgumentText(patchPath, argument, record, ui, failure);
}

bool InsertArgumentText(const std::string& patchPath, const std::string& argument,
                        PatchRecord& record, UserInterface& ui, ArgumentFailure& failure) {
  failure = {};
  Bytes bytes;
  if (!ArgumentBytes(patchPath, argument, record, bytes, ui, failure)) {
    return false;
  }
  for (const std::int32_t offset : record.ArgOffsets) {
    if (!PlaceBytes(bytes, offset, record, ui, failure)) {
      return false;
    }
  }
  return true;
}

}  // namespace varnock
