#pragma once

#include <cstdint>

#include "engine/result_code.h"
#include "patchfile/patch_record.h"
#include "support/bytes.h"

namespace varnock {

// The verification of ApplyZone with the zone taken to lie at `position` (which may be any
// 64-bit value: a zone that does not lie wholly inside the image gives ResultFailed). Never
// writes: ResultDone when the expected bytes (or, with dontVerify, any bytes) lie there,
// ResultAlreadyDone when the new bytes lie there.
ResultCode CheckZoneAt(const Bytes& image, std::int64_t position, const ZoneView& zone,
                       bool removing, bool dontVerify);

}  // namespace varnock
