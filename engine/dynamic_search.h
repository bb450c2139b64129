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

// The shift of a dynamic patch: the search for its reference zone, in the operation's
// direction. ResultDone or ResultAlreadyDone with the shift where the reference zone lies (an
// alignment record, never written, gives ResultDone only); ResultFailed, shift 0, when it is
// found nowhere (or a zone would move past the 32-bit range). The place found is the same in
// both directions: each test looks for either byte list.
ResultCode FindPatchShift(const Bytes& image, const PatchRecord& record, bool removing,
                          std::int32_t& shift);
void MoveZones(PatchRecord& record, std::int32_t shift);

// Finds the shift of a dynamic patch and, on ResultDone, adds it to every zone's Offset.
ResultCode PlaceDynamicPatch(const Bytes& image, PatchRecord& record, bool removing);

// The shift of one zone: in place, then the window search (0, -48, +48, -112 .. +112), or,
// with searchWholeFile, the nearest occurrence of its original bytes in the whole image (either
// byte list in place then gives ResultDone, shift 0).
ResultCode FindDynamicShift(const Bytes& image, const ZoneView& zone, bool removing,
                            std::int32_t& shift, bool searchWholeFile);

// ApplyZone in test-only mode as if the zone lay at Offset + shift.
ResultCode TestZoneAt(const Bytes& image, std::int32_t shift, const ZoneView& zone, bool removing);

}  // namespace varnock
