#include "app/window_texts.h"

#include "support/paths.h"

namespace varnock::texts {

std::string EditorProgramPath() {
  return JoinPath(JoinPath("Core Design", "trle"), "winroomedit.exe");
}

std::string ApplyPatchToCaption(const std::string& targetName) {
  return "Apply patch to following " + targetName + " program";
}

std::string CreatedWithVersionCaption(const std::string& targetName) {
  return "From " + targetName + " version";
}

std::string CurrentTombCaption(const std::string& targetName) {
  return "Current " + targetName + " version";
}

std::string TargetPickerCaption(const std::string& targetName) {
  return "Select " + targetName + " to patch";
}

std::string ProgramNotTaken(const std::string& exe, const std::string& patch,
                            const std::string& targetName) {
  return "The program " + exe + " was not taken:\r\nthe chosen patch " + patch + " is made for " +
         targetName + ", not for this program.";
}

std::string UnexpectedFailure(const std::string& doing, const std::string& description) {
  return "ERROR trying to " + doing + "\r\nError mexage: " + description;
}

}  // namespace varnock::texts
