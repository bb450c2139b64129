#pragma once

#include <string>

#include "support/native_file.h"

namespace varnock {

// The hidden temporary file that takes the place of a file being rewritten, made in the same
// folder with a name that starts with `prefix` (see TemporaryPrefix).

// The start of the temporary file's name: it starts with a dot, so it stays out of sight, and
// names the file and its maker.
std::string TemporaryPrefix(const std::string& target);

// Makes a new temporary file beside `target` and holds it while it is written, so that no
// other run takes it for one left by a killed run. On failure `refused` tells that the folder
// takes no new files (the file itself may then be written instead).
bool CreateTemporary(const std::string& target, NativeFile& temporary, std::string& path,
                     bool& refused, std::string& error);
// Gives the temporary file what the replacement must keep of the held file before it is
// written (its owner, its extended attributes and access control lists); false when it cannot.
bool KeepOwnership(const NativeFile& held, NativeFile& temporary);
// Gives the written temporary file at `path` the held file's permissions or attributes.
bool KeepPermissions(NativeFile& temporary, const std::string& path, const FileState& held,
                     std::string& error);
// Moves the temporary file at `path` over `target`, keeping what the system keeps.
bool ReplaceWithTemporary(const std::string& path, const std::string& target, std::string& error);
// Deletes temporary files of `target` left by a run that was killed.
void RemoveStaleTemporaries(const std::string& target);

}  // namespace varnock
