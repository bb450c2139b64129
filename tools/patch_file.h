#pragma once

#include <string>

#include "patchfile/patch_record.h"
#include "patchfile/patch_writer.h"

namespace varnock {

// Writes the .ptc bytes of a record to `path` (for tests and build tools; the program never
// writes patches). False when the file cannot be written.
bool WritePatchFile(const std::string& path, const PatchRecord& record);

}  // namespace varnock
