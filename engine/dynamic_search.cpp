#include "engine/dynamic_search.h"

#include <limits>

#include "engine/nearest_occurrence.h"
#include "engine/zone_at.h"

namespace varnock {

namespace {

// The half width of the window searched around the recorded offset, and the shift tried
// first on each side of it.
constexpr std::int32_t kWindow = 112;
constexpr std::int32_t kQuickShift = 48;

ResultCode SearchWindow(const Bytes& image, const ZoneView& zone, bool removing,
                        std::int32_t& shift) {
  for (const std::int32_t quick : {-kQuickShift, kQuickShift}) {
    const ResultCode result = TestZoneAt(image, quick, zone, removing);
    if (result != ResultFailed) {
      shift = quick;
      return result;
    }
  }
  for (std::int32_t candidate = -kWindow; candidate <= kWindow; ++candidate) {
    const ResultCode result = TestZoneAt(image, candidate, zone, removing);
    if (result != ResultFailed) {
      shift = candidate;
      return result;
    }
  }
  return ResultFailed;
}

}  // namespace

std::size_t ReferenceZoneIndex(const PatchRecord& record) {
  std::size_t reference = 0;
  if (record.Has(RecordAlignment)) {
    return reference;
  }
  std::int32_t longest = record.Zones.View(0).Length;
  for (std::size_t i = 1; i < record.Zones.size(); ++i) {
    if (record.Zones.View(i).Length > longest) {
      reference = i;
      longest = record.Zones.View(i).Length;
    }
  }
  return reference;
}

ResultCode TestZoneAt(const Bytes& image, std::int32_t shift, const ZoneView& zone, bool removing) {
  return CheckZoneAt(image, std::int64_t{zone.Offset} + shift, zone, removing, false);
}

ResultCode FindDynamicShift(const Bytes& image, const ZoneView& zone, bool removing,
                            std::int32_t& shift, bool searchWholeFile) {
  shift = 0;
  const ResultCode inPlace = TestZoneAt(image, 0, zone, removing);
  if (searchWholeFile && inPlace != ResultFailed) {
    // The alignment record is never written: its original or its patched bytes in place are
    // where the patch lies, in either direction, not a sign that it was applied or removed.
    return ResultDone;
  }
  if (inPlace != ResultFailed) {
    return inPlace;
  }
  if (!searchWholeFile) {
    return SearchWindow(image, zone, removing, shift);
  }
  // The alignment record is looked for by its original bytes, whatever the direction; the
  // place found is not tested again.
  const auto nearest = FindNearestOccurrence(image, zone.OriginalBytes, zone.Offset);
  if (!nearest) {
    return ResultFailed;
  }
  shift = *nearest;
  return ResultDone;
}

ResultCode FindPatchShift(const Bytes& image, const PatchRecord& record, bool removing,
                          std::int32_t& shift) {
  shift = 0;
  if (record.Zones.empty()) {
    return ResultDone;  // nothing to place
  }
  const ZoneView reference = record.Zones.View(ReferenceZoneIndex(record));
  const ResultCode result =
      FindDynamicShift(image, reference, removing, shift, record.Has(RecordAlignment));
  if (result == ResultFailed) {
    return result;
  }
  // A zone moved beyond the 32-bit range lies outside any image: the patch does not fit.
  for (std::size_t i = 0; i < record.Zones.size(); ++i) {
    const std::int64_t moved = std::int64_t{record.Zones.View(i).Offset} + shift;
    if (moved < std::numeric_limits<std::int32_t>::min() ||
        moved > std::numeric_limits<std::int32_t>::max()) {
      shift = 0;
      return ResultFailed;
    }
  }
  return result;
}

void MoveZones(PatchRecord& record, std::int32_t shift) {
  for (std::size_t i = 0; i < record.Zones.size(); ++i) {
    record.Zones.SetOffset(i, record.Zones.View(i).Offset + shift);
  }
}

ResultCode PlaceDynamicPatch(const Bytes& image, PatchRecord& record, bool removing) {
  std::int32_t shift = 0;
  const ResultCode result = FindPatchShift(image, record, removing, shift);
  if (result == ResultDone) {
    MoveZones(record, shift);
  }
  return result;
}

}  // namespace varnock
