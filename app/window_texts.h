#pragma once

#include <string>
#include <string_view>

namespace varnock::texts {

// The main window's own messages, shown as they stand.
inline constexpr std::string_view kNoPatchFound =
    "ERROR: no patch found in current exe or in current folder\r\n"
    "If this program was in a zip file, PLEASE, decompress whole zip file in a temporary folder "
    "before starting this program";
inline constexpr std::string_view kNoPatchSelected = "No patch selected";
inline constexpr std::string_view kNoTargetToApply =
    "You must set path of tomb4 program to apply patch";
inline constexpr std::string_view kNoTargetToRemove =
    "You must set path of tomb4 program to remove patch";
inline constexpr std::string_view kPatchFolderCaption = "Select folder with patches";

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

// The message that closes a handler which met an unexpected failure.
std::string UnexpectedFailure(const std::string& doing, const std::string& description);

}  // namespace varnock::texts
