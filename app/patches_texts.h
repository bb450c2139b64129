#pragma once

#include <cstddef>
#include <string>

#include "app/patches_presenter.h"
#include "support/translation.h"

namespace varnock {

// The Patches window's own texts, translated where they are shown.
// Why the statuses cannot be computed, after "Statuses cannot be computed: ".
inline constexpr const char* kNoProgramChosen =
    TrNoop("no program to patch is chosen in the main window");
inline constexpr const char* kArgumentTitle = TrNoop("Input argument");
inline constexpr const char* kRestoreTitle = TrNoop("Restore original");
inline constexpr const char* kUndoTitle = TrNoop("Undo last change");
// Asked when a restore was refused because another program changed other bytes.
inline constexpr const char* kForceRestoreQuestion = TrNoop(
    "Write Varnock's recorded original bytes back anyway, and leave the bytes the other "
    "program changed as they are?");

// The save and open dialogs of set files: their titles and the kind of file they show.
inline constexpr const char* kSaveSetTitle = TrNoop("Save set");
inline constexpr const char* kOpenSetTitle = TrNoop("Open set");
inline constexpr const char* kSetFilesName = TrNoop("Patch sets");
inline constexpr char kSetExtension[] = "ptcset";
// Why a set cannot be opened before the statuses are known.
inline constexpr const char* kStatusesPending = TrNoop("the statuses are still being computed");
// "No set can be saved: " (or opened) and why.
std::string SetRefusedText(SetFileDialog dialog, const std::string& why);
// The line after a set was saved: "Set saved as name.ptcset".
std::string SetSavedText(const std::string& path);
// "Statuses: 1,200 of 20,000".
std::string ProgressText(std::size_t judged, std::size_t total);
// What "Apply changes" will do: "Apply changes will remove 1 patch and apply 2."; empty when
// nothing.
std::string PlanText(const PatchesPlan& plan);
// What "Apply changes" did: "3 applied, 1 removed".
std::string ChangesDoneText(std::size_t applied, std::size_t removed);
inline constexpr const char* kUndoneText = TrNoop("Last change undone");
inline constexpr const char* kRestoredText = TrNoop("Original restored");
inline constexpr const char* kKnownBytesRestoredText =
    TrNoop("Varnock's original bytes written back");
// The line after a change: what was done, then `more` (the progress, the plan) when there is
// more to say: "3 applied, 1 removed. Statuses: 1,200 of 20,000". `more` alone when nothing
// was done.
std::string AfterChangeText(const std::string& done, const std::string& more);
// "Statuses cannot be computed: " and why.
std::string StatusFailureText(const std::string& failure);
// The question for the argument of the patch `fileName`.
std::string ArgumentPrompt(const std::string& fileName);

}  // namespace varnock
