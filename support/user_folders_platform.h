#pragma once

#include <string>
#include <vector>

namespace varnock {

// The platform's side of UserPatchFolder.

// UserDataFolder (user_folders.h) is the platform's too.

// Folders where the user may keep files that need not last, in the order they are tried (the
// runtime folder, the system's temporary folder); the ones the platform does not give are left
// out.
std::vector<std::string> ScratchFolders();

// The name of the program's folder inside a scratch folder, one per user, since other users may
// share the place.
std::string PrivateFolderName();

// Makes `folder` (its parent exists) as a folder that only this user may enter, or accepts it
// when it already is one. False when it cannot be made, is no plain folder (a link), belongs to
// someone else or lets others in.
bool MakePrivateFolder(const std::string& folder);

}  // namespace varnock
