#pragma once

#include <cstdio>
#include <string>

#include "patchfile/patch_record.h"
#include "ui/user_interface.h"

namespace varnock {

// Reads the .ptc file at `path` into `record`, field by field in file order. On failure the
// loader tells the user itself and returns false; the fields read before the failure hold the
// new file's values, the others the previous patch's.
bool LoadPatch(const std::string& path, PatchRecord& record, UserInterface& ui);
// The same for a path that a folder listing has just given as a plain file: the file is not
// looked up once more before it is opened. With `sha256`, the file's SHA-256 is made from the
// same read (empty when the load or the read of the bytes after the patch fails).
bool LoadListedPatch(const std::string& path, PatchRecord& record, UserInterface& ui,
                     std::string* sha256 = nullptr);

}  // namespace varnock
