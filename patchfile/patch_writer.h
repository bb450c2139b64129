#pragma once

#include <string>

#include "patchfile/patch_record.h"
#include "support/bytes.h"

namespace varnock {

// The .ptc bytes of a record (for tests and build tools; the program never writes patches).
// The counts written are the record's ZoneCount and ArgOffsetCount as they stand, so tests
// can write inconsistent or hostile files on purpose.
Bytes WritePatch(const PatchRecord& record);
bool WritePatchFile(const std::string& path, const PatchRecord& record);

}  // namespace varnock
