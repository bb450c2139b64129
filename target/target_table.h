#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "patchfile/patch_record.h"
#include "ui/user_interface.h"

namespace varnock {

// Loads the patch at `patchPath` into `record` and gives the base name of its target program
// ("*" for a program outside the table) and the program's path relative to the level-editor
// folder (native separators, starting with one; empty outside the table). On failure returns
// false and leaves both texts as they were.
bool GetPatchTarget(const std::string& patchPath, PatchRecord& record, UserInterface& ui,
                    std::string& baseName, std::string& relativePath);

// The target name of the table ("tomb4.exe") that `name` stands for, letter case ignored, with
// or without its ".exe"; none for a program outside the table.
std::optional<std::string> TargetProgramName(std::string_view name);

// The four target names, in table order, joined as "a, b, c or d".
std::string TargetProgramNames();

}  // namespace varnock
