#include "patchfile/patch_writer.h"

#include "support/code_page.h"

namespace varnock {

void AppendInt32(Bytes& out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) {
    out.push_back(static_cast<std::uint8_t>(bits >> shift));
  }
}

void AppendPatchUnits(Bytes& out, std::u16string_view units) {
  AppendInt32(out, static_cast<std::int32_t>(units.size()));
  for (const char16_t unit : units) {
    out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    out.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
}

void AppendPatchString(Bytes& out, std::string_view text) {
  std::u16string units;
  for (const char byte : Utf8ToAnsi(text)) {
    units.push_back(static_cast<char16_t>(static_cast<std::uint8_t>(byte)));
  }
  AppendPatchUnits(out, units);
}

Bytes WritePatch(const PatchRecord& record) {
  Bytes out;
  AppendInt32(out, record.ZoneCount());
  AppendInt32(out, record.Flags);
  AppendInt32(out, record.ArgOffsetCount());
  for (const std::int32_t offset : record.ArgOffsets) {
    AppendInt32(out, offset);
  }
  AppendInt32(out, record.ArgType);
  AppendInt32(out, record.ArgMaxLength);
  AppendPatchString(out, record.ExeVersion);
  AppendPatchString(out, record.Description);
  AppendPatchString(out, record.ExeName);
  for (std::size_t i = 0; i < record.Zones.size(); ++i) {
    const ZoneView zone = record.Zones.View(i);
    AppendInt32(out, zone.Offset);
    AppendInt32(out, zone.Length);
    out.insert(out.end(), zone.OriginalBytes.begin(), zone.OriginalBytes.end());
    out.insert(out.end(), zone.PatchBytes.begin(), zone.PatchBytes.end());
  }
  return out;
}

}  // namespace varnock
