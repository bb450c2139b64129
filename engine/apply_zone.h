#pragma once

#include "engine/result_code.h"
#include "patchfile/patch_record.h"
#include "support/bytes.h"

namespace varnock {

// Verifies one zone at its Offset in the image and, unless testOnly, writes its new bytes
// there. A zone that does not lie wholly inside the image gives ResultFailed.
ResultCode ApplyZone(Bytes& image, const ZoneView& zone, bool removing, bool testOnly,
                     bool dontVerify);

}  // namespace varnock
