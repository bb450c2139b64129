#include "app/window_texts.h"

#include "support/paths.h"
#include "support/translation.h"

namespace varnock::texts {

std::string EditorProgramPath() {
  return JoinPath(JoinPath("Core Design", "trle"), "winroomedit.exe");
}

std::string ApplyPatchToCaption(const std::string& targetName) {
  // TRANSLATORS: %1 is the program's name, such as tomb4
  return TrFormat("Apply patch to following %1 program", {targetName});
}

std::string CreatedWithVersionCaption(const std::string& targetName) {
  // TRANSLATORS: %1 is the program's name, such as tomb4; the version a patch was made for
  return TrFormat("From %1 version", {targetName});
}

std::string CurrentTombCaption(const std::string& targetName) {
  // TRANSLATORS: %1 is the program's name, such as tomb4
  return TrFormat("Current %1 version", {targetName});
}

std::string TargetPickerCaption(const std::string& targetName) {
  // TRANSLATORS: %1 is the program's name, such as tomb4
  return TrFormat("Select %1 to patch", {targetName});
}

std::string ProgramNotTaken(const std::string& exe, const std::string& patch,
                            const std::string& targetName) {
  return TrFormatCrLf(
      // TRANSLATORS: %1 is the executable opened, %2 the chosen patch file, %3 the program's name
      // that the patch is made for, such as tomb4
      "The program %1 was not taken:\nthe chosen patch %2 is made for %3, not for this program.",
      {exe, patch, targetName});
}

std::string UnexpectedFailure(const std::string& failed, const std::string& description) {
  // TRANSLATORS: %1 is what failed, such as "ERROR trying to apply the patch"; %2 why
  return TrFormatCrLf("%1\nError mexage: %2", {failed, description});
}

}  // namespace varnock::texts
