#include "patchfile/load_patch.h"

#include <new>
#include <optional>

#include "patchfile/patch_reader.h"
#include "support/files.h"
#include "support/translation.h"

namespace varnock {

namespace {

// Every zone record holds at least its offset, its length and one original and one patched
// byte; a count that cannot fit in the bytes left is refused before the list is sized.
constexpr std::int64_t kSmallestZoneRecord = 10;

bool ReadZoneCount(PatchReader& reader, PatchRecord& record) {
  std::int32_t count = 0;
  if (!reader.ReadInt32(count)) {
    return false;
  }
  if (count < 0) {
    return reader.Fail(Tr("out of range size: the zone count is negative"));
  }
  if (!reader.Holds(std::int64_t{count} * kSmallestZoneRecord)) {
    return false;
  }
  record.Zones.Reset(static_cast<std::size_t>(count));
  return true;
}

// The zones' bytes are at most what is left after every zone's offset and length: room for
// them all is made at once, so that filling the zones never moves them.
void ReserveZoneBytes(const PatchReader& reader, PatchRecord& record) {
  const std::int64_t most = reader.Remaining() - std::int64_t{record.ZoneCount()} * 8;
  if (most > 0) {
    record.Zones.ReserveBytes(static_cast<std::size_t>(most));
  }
}

bool ReadArgOffsets(PatchReader& reader, PatchRecord& record) {
  std::int32_t count = 0;
  if (!reader.ReadInt32(count)) {
    return false;
  }
  if (count < 0) {
    return reader.Fail(Tr("out of range size: the argument offset count is negative"));
  }
  if (!reader.Holds(std::int64_t{count} * 4)) {
    return false;
  }
  record.ArgOffsets.assign(static_cast<std::size_t>(count), 0);
  for (std::int32_t& offset : record.ArgOffsets) {
    if (!reader.ReadInt32(offset)) {
      return false;
    }
  }
  return true;
}

bool ReadZone(PatchReader& reader, ZoneList& zones, std::size_t index) {
  std::int32_t offset = 0;
  std::int32_t length = 0;
  if (!reader.ReadInt32(offset) || !reader.ReadInt32(length)) {
    return false;
  }
  if (length < 1) {
    zones.Fill(index, offset, 0);
    return reader.Fail(
        TrFormat("out of range size: zone %1 has a length below 1", {std::to_string(index + 1)}));
  }
  if (!reader.Holds(std::int64_t{length} * 2)) {
    zones.Fill(index, offset, 0);
    return false;
  }
  return reader.ReadInto(zones.Fill(index, offset, length));
}

bool ReadRecord(PatchReader& reader, PatchRecord& record) {
  if (reader.Failed() || !ReadZoneCount(reader, record) || !reader.ReadInt32(record.Flags) ||
      !ReadArgOffsets(reader, record) || !reader.ReadInt32(record.ArgType) ||
      !reader.ReadInt32(record.ArgMaxLength) || !ReadPatchString(record.ExeVersion, reader) ||
      !ReadPatchString(record.Description, reader) || !ReadPatchString(record.ExeName, reader)) {
    return false;
  }
  ReserveZoneBytes(reader, record);
  for (std::size_t i = 0; i < record.Zones.size(); ++i) {
    if (!ReadZone(reader, record.Zones, i)) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool LoadPatch(const std::string& path, PatchRecord& record, UserInterface& ui) {
  if (!FileExists(path)) {
    // A path the system refuses for its length may well name an existing file.
    // TRANSLATORS: %1 says why the path cannot be opened, %2 is the path.
    ui.ShowMessage(PathTooLong(path) ? TrFormat("ERROR: %1: %2", {PathTooLongText(path), path})
                                     : TrFormat("ERROR: cann't find patch file: %1", {path}),
                   MessageIcon::Critical);
    return false;
  }
  return LoadListedPatch(path, record, ui);
}

bool LoadListedPatch(const std::string& path, PatchRecord& record, UserInterface& ui,
                     std::string* sha256) {
  PatchReader reader(path);
  std::optional<Sha256> sum;  // made only when asked for
  if (sha256 != nullptr) {
    sha256->clear();
    reader.SumInto(sum.emplace());
  }
  bool read = false;
  try {
    read = ReadRecord(reader, record);
  } catch (const std::bad_alloc&) {
    reader.Fail(Tr("not enough memory"));
  }
  if (read && sha256 != nullptr && reader.SumRest()) {
    *sha256 = DigestText(sum->Finish());
  }
  if (!read) {
    // TRANSLATORS: %1 is the patch file's path, %2 the reason.
    ui.ShowMessage(TrFormatCrLf("Error trying to load binary patch from file: %1\nError mexage: %2",
                                {path, reader.Error()}),
                   MessageIcon::Critical);
    return false;
  }
  return true;
}

}  // namespace varnock
