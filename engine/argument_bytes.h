#pragma once

#include <string>

#include "engine/patch_argument.h"

namespace varnock {

// The argument text encoded by the record's ArgType and ArgMaxLength (see InsertPatchArgument).
// False after the matching message, or with `failure.general` set.
bool ArgumentBytes(const std::string& patchPath, const std::string& argument,
                   const PatchRecord& record, Bytes& bytes, UserInterface& ui,
                   ArgumentFailure& failure);

}  // namespace varnock
