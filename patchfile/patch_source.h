#pragma once

#include <string>
#include <string_view>

#include "patchfile/patch_record.h"
#include "support/bytes.h"
#include "ui/user_interface.h"

namespace varnock {

// A patch as its readable source holds it: the record and the bytes a .ptc file may carry
// after its last zone, which the loader ignores but a faithful copy keeps.
struct PatchSource {
  PatchRecord record;
  Bytes trailing;

  friend bool operator==(const PatchSource&, const PatchSource&) = default;
};

// The .ptc bytes of a source: the record as written by WritePatch, then the trailing bytes.
Bytes CompiledPatch(const PatchSource& source);

// The readable text of a patch (see docs/patch-source.md). Reading it back with
// ParsePatchSource gives the same source, and the same text written again.
std::string DecompilePatch(const PatchSource& source);

// Reads a readable text into `source` (UTF-8, with or without a byte-order mark). False with "line
// N: expected ..., found ..." in `error` when the text is not a patch; `source` is then unchanged.
bool ParsePatchSource(std::string_view text, PatchSource& source, std::string& error);

// The same, read from the file at `path`; the errors then begin with the path, or say that the
// file cannot be read.
bool ReadPatchSourceFile(const std::string& path, PatchSource& source, std::string& error);

// The .ptc file at `path` as a source whose compiled bytes are the file's bytes exactly.
// False after a failure, told through `ui` (the loader's messages, or why the file cannot be
// written as a source).
bool ReadPatchAsSource(const std::string& path, PatchSource& source, UserInterface& ui);

}  // namespace varnock
