#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/result_code.h"
#include "patchfile/patch_record.h"
#include "support/bytes.h"

namespace varnock {

// The zone searched for: zone 0 under RecordAlignment, otherwise the first of the longest.
std::size_t ReferenceZoneIndex(const PatchRecord& record);

// Finds the shift of a dynamic patch and, on ResultDone, adds it to every zone's Offset.
ResultCode PlaceDynamicPatch(const Bytes& image, PatchRecord& record, bool removing);

// The placement whichever way the patch stands: the search finds the first place that holds
// either the original or the patched bytes, the same place in both directions. True when the
// zones were moved there (or the patch is not dynamic).
bool PlaceEitherWay(const Bytes& image, PatchRecord& record);

// The shift of one zone: in place, then the window search (0, -48, +48, -112 .. +112), or,
// with searchWholeFile, the nearest occurrence of its original bytes in the whole image.
ResultCode FindDynamicShift(const Bytes& image, const ZoneView& zone, bool removing,
                            std::int32_t& shift, bool searchWholeFile);

// ApplyZone in test-only mode as if the zone lay at Offset + shift.
ResultCode TestZoneAt(const Bytes& image, std::int32_t shift, const ZoneView& zone, bool removing);

}  // namespace varnock
