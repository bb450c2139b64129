#include "patchfile/load_patch.h"

#include "patchfile/patch_reader.h"
#include "support/files.h"

namespace varnock {

namespace {

// Every zone record holds at least its offset, its length and one original and one patched
// byte; a count that cannot fit in the bytes left is refused before the list is sized.
constexpr std::int64_t kSmallestZoneRecord = 10;

bool ReadZoneCount(PatchReader& reader, PatchRecord& record) {
  if (!reader.ReadInt32(record.ZoneCount)) {
    return false;
  }
  if (record.ZoneCount < 0) {
    return reader.Fail("out of range size: the zone count is negative");
  }
  if (!reader.Holds(std::int64_t{record.ZoneCount} * kSmallestZoneRecord)) {
    return false;
  }
  record.Zones.assign(static_cast<std::size_t>(record.ZoneCount), PatchZone{});
  return true;
}

bool ReadArgOffsets(PatchReader& reader, PatchRecord& record) {
  if (!reader.ReadInt32(record.ArgOffsetCount)) {
    return false;
  }
  if (record.ArgOffsetCount < 0) {
    return reader.Fail("out of range size: the argument offset count is negative");
  }
  if (!reader.Holds(std::int64_t{record.ArgOffsetCount} * 4)) {
    return false;
  }
  record.ArgOffsets.assign(static_cast<std::size_t>(record.ArgOffsetCount), 0);
  for (std::int32_t& offset : record.ArgOffsets) {
    if (!reader.ReadInt32(offset)) {
      return false;
    }
  }
  return true;
}

bool ReadZone(PatchReader& reader, PatchZone& zone, std::size_t index) {
  if (!reader.ReadInt32(zone.Offset) || !reader.ReadInt32(zone.Length)) {
    return false;
  }
  if (zone.Length < 1) {
    return reader.Fail("out of range size: zone " + std::to_string(index + 1) +
                       " has a length below 1");
  }
  if (!reader.Holds(std::int64_t{zone.Length} * 2)) {
    return false;
  }
  return reader.ReadBytes(zone.Length, zone.OriginalBytes) &&
         reader.ReadBytes(zone.Length, zone.PatchBytes);
}

bool ReadRecord(PatchReader& reader, PatchRecord& record) {
  if (reader.Failed() || !ReadZoneCount(reader, record) || !reader.ReadInt32(record.Flags) ||
      !ReadArgOffsets(reader, record) || !reader.ReadInt32(record.ArgType) ||
      !reader.ReadInt32(record.ArgMaxLength) || !ReadPatchString(record.ExeVersion, reader) ||
      !ReadPatchString(record.Description, reader) || !ReadPatchString(record.ExeName, reader)) {
    return false;
  }
  for (std::size_t i = 0; i < record.Zones.size(); ++i) {
    if (!ReadZone(reader, record.Zones[i], i)) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool LoadPatch(const std::string& path, PatchRecord& record, UserInterface& ui) {
  if (!FileExists(path)) {
    ui.ShowMessage("ERROR: cann't find patch file: " + path, MessageIcon::Critical);
    return false;
  }
  return LoadListedPatch(path, record, ui);
}

bool LoadListedPatch(const std::string& path, PatchRecord& record, UserInterface& ui) {
  PatchReader reader(path);
  if (!ReadRecord(reader, record)) {
    ui.ShowMessage("Error trying to load binary patch from file: " + path + "\r\n" +
                       "Error mexage: " + reader.Error(),
                   MessageIcon::Critical);
    return false;
  }
  return true;
}

}  // namespace varnock
