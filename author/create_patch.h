#pragma once

#include <string>

#include "patchfile/patch_record.h"
#include "ui/user_interface.h"

namespace varnock {

// How a patch made from two executables is marked.
struct PatchOptions {
  // The target program ("tomb4.exe", or "tomb4"); empty: taken from the original's file name.
  std::string program;
  bool dynamic = false;       // the patch finds its place in other builds
  bool versionBound = false;  // only for the build of the original (SameExeVersionOnly)
  // The description, lines separated by a newline or by CR LF.
  std::string description;
};

// The patch that turns the executable at `originalPath` into the one at `modifiedPath`: their
// differing bytes as zones, the target program, the original's version signature and the
// options. False after a failure, told through `ui` with the critical icon.
bool CreatePatch(const std::string& originalPath, const std::string& modifiedPath,
                 const PatchOptions& options, PatchRecord& patch, UserInterface& ui);

}  // namespace varnock
