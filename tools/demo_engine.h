#pragma once

#include <string>
#include <vector>

#include "patchfile/patch_record.h"
#include "support/bytes.h"

namespace varnock::tools {

// A stand-in tomb4.exe for demonstrations and tests. It holds no code of the game: a minimal
// PE header whose time stamp is 11 November 2000, 15:21, zero bytes, the probe texts and byte
// runs at the places of a standard UK build, and the original bytes of every zone of
// `patches`, so that each of them can be applied to it. Its version signature is
// "LE_UK_P:XP_Standard (11-Nov-2000  15:21)". False with a description when two of the
// pieces would overlap or a zone lies outside the file.
bool MakeDemoEngine(const std::vector<PatchRecord>& patches, Bytes& engine, std::string& error);

// The signature the demo engine has.
inline constexpr const char* kDemoEngineVersion = "LE_UK_P:XP_Standard (11-Nov-2000  15:21)";

}  // namespace varnock::tools
