#pragma once

#include <string>

#include "patchfile/patch_record.h"

namespace varnock::tools {

// A patch written as readable text, one "key: value" per line ('#' starts a comment line):
//   exe: tomb4.exe
//   version: LE_UK_P:XP_Standard (11-Nov-2000  15:21)
//   flags: Dynamic SameExeVersionOnly
//   argument-type: NumLong            (optional, with argument-max-length and argument-offset)
//   description: one line of the description; repeat the key for more lines
//   zone: 0x8EBB1 40 4B 4C 00 -> 00 00 40 01
// False with "line N: ..." in `error` when the text is not a valid patch.
bool ParsePatchSource(const std::string& text, PatchRecord& record, std::string& error);

// The same, read from a file.
bool ReadPatchSource(const std::string& path, PatchRecord& record, std::string& error);

}  // namespace varnock::tools
