#pragma once

#include <string>

#include "support/translation.h"

namespace varnock::texts {

// The main window's own messages, translated where they are shown (kNoPatchFound by TrCrLf).
inline constexpr const char* kNoPatchFound = TrNoop(
    "ERROR: no patch found in current exe or in current folder\n"
    "If this program was in a zip file, PLEASE, decompress whole zip file in a temporary "
    "folder before starting this program");
inline constexpr const char* kNoPatchSelected = TrNoop("No patch selected");
inline constexpr const char* kNoTargetToApply =
    TrNoop("You must set path of tomb4 program to apply patch");
inline constexpr const char* kNoTargetToRemove =
    TrNoop("You must set path of tomb4 program to remove patch");
inline constexpr const char* kPatchFolderCaption = TrNoop("Select folder with patches");

// Where the installed level editor's room editor lies below the Program Files folder.
std::string EditorProgramPath();

// The captions that name the current target program.
std::string ApplyPatchToCaption(const std::string& targetName);
std::string CreatedWithVersionCaption(const std::string& targetName);
std::string CurrentTombCaption(const std::string& targetName);
std::string TargetPickerCaption(const std::string& targetName);

// Why an opened executable was not taken: the chosen patch is for another program.
std::string ProgramNotTaken(const std::string& exe, const std::string& patch,
                            const std::string& targetName);

// The message that closes a handler which met an unexpected failure: what failed ("ERROR
// trying to apply the patch", translated already), and on the next line its description.
std::string UnexpectedFailure(const std::string& failed, const std::string& description);

}  // namespace varnock::texts
