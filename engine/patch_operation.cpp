#include "engine/patch_operation.h"

#include <cstdint>
#include <random>

#include "engine/general_failure.h"
#include "engine/patch_argument.h"
#include "engine/perform_patch.h"
#include "support/files.h"
#include "support/new_file_copy.h"
#include "support/paths.h"
#include "support/translation.h"
#include "target/target_table.h"

namespace varnock {

// A '#' would cut the value read back short; a path separator would put the copy in another
// folder.
bool FitsInFileName(const std::string& answer) {
  std::string forbidden = "#/\\";
  if (kNativeStyle == PathStyle::Windows) {
    forbidden += ":*?\"<>|";
  }
  for (const char c : answer) {
    if (static_cast<unsigned char>(c) < 0x20 || forbidden.find(c) != std::string::npos) {
      return false;
    }
  }
  return true;
}

namespace {

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// The patch path with the argument the user chose, or nothing when the operation stops here.
std::optional<std::string> PathWithAnswer(const std::string& patchPath, bool remove,
                                          const std::optional<std::string>& proposed,
                                          UserInterface& ui, bool& refused) {
  const std::string proposal = GetPatchArgument(patchPath, ui);
  if (proposal.empty()) {
    return std::nullopt;
  }
  // When removing, the prompt carries the note about giving the same argument.
  const std::string prompt =
      remove ? TrCrLf(
                   "Set argument value\n\nNote: to remove correctly the patch you should "
                   "insert same argument you used to apply this patch, otherwise the removing "
                   "operation will fail")
             : std::string(Tr("Set argument value"));
  const auto answer = ui.AskText(prompt, Tr("Input argument"), proposed.value_or(proposal));
  if (!answer || answer->empty()) {
    return std::nullopt;
  }
  if (!FitsInFileName(*answer)) {
    // TRANSLATORS: %1 is the argument value the user typed.
    ui.ShowMessage(TrFormat("ERROR: the argument '%1' cannot be used: it must not contain '#', "
                            "path separators or characters that a file name cannot hold",
                            {*answer}),
                   MessageIcon::Critical);
    refused = true;
    return std::nullopt;
  }
  // The new value replaces the old one in the file name only: the copy stays next to the
  // patch file, whatever the names of the folders above it.
  const std::string name = GetFileName(patchPath);
  const std::string folderPart = patchPath.substr(0, patchPath.size() - name.size());
  return folderPart + ReplaceAll(name, "#" + proposal + "#", "#" + *answer + "#");
}

// The first name tried after the first choice is taken, and how many are tried in all.
constexpr int kNameAttempts = 16;

// The first choice with a random part after "temp_": still a temporary copy's name, with the
// argument between the same two '#'.
std::string OtherTempPath(const std::string& firstChoice) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::random_device random;
  std::string part;
  for (std::uint32_t bits = random(), i = 0; i < 8; ++i, bits >>= 4) {
    part += kDigits[bits & 0x0F];
  }
  const std::size_t afterPrefix = firstChoice.size() - GetFileName(firstChoice).size() + 5;
  return std::string(firstChoice).insert(afterPrefix, part + "_");
}

// The copy the engine loads, made under a name of this run's own. A copy of this patch that a
// killed run left under the first choice is deleted; anything else under it (a copy another
// run is using, a file of the user's, a folder or a link) is left alone and another temporary
// name is taken. Nothing else is ever replaced.
std::optional<std::string> CopyForEngine(const std::string& patchPath,
                                         const std::string& firstChoice, HeldCopy& copy,
                                         UserInterface& ui) {
  std::string copyPath = firstChoice;
  bool staleChecked = false;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string error;
    NewCopy made = copy.Make(patchPath, copyPath, error);
    if (made == NewCopy::Failed && EntryExists(copyPath)) {
      made = NewCopy::Taken;
    }
    if (made == NewCopy::Made) {
      return copyPath;
    }
    if (made == NewCopy::Failed) {
      ShowGeneralFailure(ui,
                         // TRANSLATORS: %1 is the path of the copy, %2 the reason.
                         TrFormat("the temporary copy %1 of the patch cannot be made beside it: %2",
                                  {copyPath, error}));
      return std::nullopt;
    }
    if (!staleChecked && RemoveStaleCopy(copyPath, patchPath)) {
      staleChecked = true;
      continue;
    }
    staleChecked = true;
    copyPath = OtherTempPath(firstChoice);
  }
  // TRANSLATORS: %1 is the path first chosen for the copy.
  ShowGeneralFailure(ui, TrFormat("no free name for the temporary copy %1", {firstChoice}));
  return std::nullopt;
}

}  // namespace

void ShowClosingMessage(ResultCode result, bool remove, UserInterface& ui) {
  const char* text = nullptr;
  switch (result) {
    case ResultAlreadyDone:
      text = remove ? Tr("WARNING: removing patch operation was already been performed")
                    : Tr("WARNING: applying patch operation was already been performed");
      break;
    case ResultFailed:
      text =
          remove ? Tr("ERROR: cann't removing the patch") : Tr("ERROR: cann't applying the patch");
      break;
    case ResultDone:
      text = remove ? Tr("Ok: removing patch operation has been performed")
                    : Tr("Ok: applying patch operation has been performed");
      break;
    default:
      break;
  }
  if (text != nullptr) {
    ui.ShowMessage(text, MessageIcon::None);
  }
}

std::string TempPatchPath(const std::string& patchPathWithArgument) {
  const std::string name = GetFileName(patchPathWithArgument);
  const std::string folderPart =
      patchPathWithArgument.substr(0, patchPathWithArgument.size() - name.size());
  return folderPart + "temp_" + name;
}

ResultCode RunPatchOperation(const std::string& patchPath, const std::string& exePath, bool remove,
                             PatchRecord& record, const OperationContext& context,
                             const std::optional<std::string>& proposed) {
  UserInterface& ui = context.ui;
  std::string baseName;
  std::string relativePath;
  if (!GetPatchTarget(patchPath, record, ui, baseName, relativePath)) {
    return ResultNone;
  }
  std::string loadPath = patchPath;
  HeldCopy copy;
  if (GetFileName(patchPath).find('#') != std::string::npos) {
    bool refused = false;
    const auto withAnswer = PathWithAnswer(patchPath, remove, proposed, ui, refused);
    if (!withAnswer) {
      ShowClosingMessage(refused ? ResultFailed : ResultNone, remove, ui);
      return refused ? ResultFailed : ResultNone;
    }
    loadPath = TempPatchPath(*withAnswer);
    if (!EqualsIgnoreCase(loadPath, patchPath)) {
      const auto copyPath = CopyForEngine(patchPath, loadPath, copy, ui);
      if (!copyPath) {
        ShowClosingMessage(ResultFailed, remove, ui);
        return ResultFailed;
      }
      loadPath = *copyPath;
    }
  }
  std::string exeVersion;
  const ResultCode result = PerformPatch(loadPath, exePath, remove, exeVersion, record, context);
  copy.Remove();
  ShowClosingMessage(result, remove, ui);
  return result;
}

}  // namespace varnock
