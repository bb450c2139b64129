#pragma once

#include <cstdint>
#include <string_view>

#include "patchfile/patch_record.h"
#include "support/bytes.h"

namespace varnock {

// The .ptc bytes of a record (for tests, build tools and the command that creates patches).
// The counts written are the sizes of the record's lists; a file whose counts disagree with
// what follows them is written piece by piece with the functions below.
Bytes WritePatch(const PatchRecord& record);

// The pieces of the format, for writing files by hand.
void AppendInt32(Bytes& out, std::int32_t value);
// A string from a UTF-8 text: its count, then one 16-bit unit per ANSI byte.
void AppendPatchString(Bytes& out, std::string_view text);
// A string from raw 16-bit units, which may lie outside 0..255.
void AppendPatchUnits(Bytes& out, std::u16string_view units);

}  // namespace varnock
