#pragma once

#include <cstdint>
#include <string>

#include "patchfile/patch_record.h"
#include "support/bytes.h"
#include "ui/user_interface.h"

namespace varnock {

// The text between the first two '#' of the path's base name; empty (after a message when a
// '#' is missing) when there is none.
std::string GetPatchArgument(const std::string& patchPath, UserInterface& ui);
// The same value, read without a message: empty when the name carries none.
std::string NamedArgument(const std::string& patchPath);

// Why InsertPatchArgument failed, beyond what it has already told the user.
struct ArgumentFailure {
  bool general = false;     // to be reported through the engine's general failure message
  std::string description;  // the description that then follows "Error mexage: "
};

// Writes the argument carried by the patch path's name into the loaded record's PatchBytes.
// False after a failure: either already reported, or `failure.general` set for the caller to
// report with the general failure message.
bool InsertPatchArgument(const std::string& patchPath, PatchRecord& record, UserInterface& ui,
                         ArgumentFailure& failure);
// The same with the argument text given instead of read from the name; `patchPath` only
// names the patch in messages.
bool InsertArgumentText(const std::string& patchPath, const std::string& argument,
                        PatchRecord& record, UserInterface& ui, ArgumentFailure& failure);

}  // namespace varnock
