#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "patchfile/patch_record.h"

namespace varnock {

// Everything the program keeps between two events. The main window's presenter owns the one
// instance and hands it to whatever needs it; nothing else holds program-wide state.
struct ProgramState {
  // Base name of the target program of the current patch: captions, picker patterns and the
  // match against the chosen executable.
  std::string TargetName = "tomb4";
  // Folder of the installed room editor (no trailing separator); empty when not installed.
  std::string EditorFolder;
  // Folder whose .ptc files make up the catalogue, as TrimRootBackslash leaves it.
  std::string PatchFolder;
  // Number of .ptc files found by the last listing. Kept apart from the patch list, which a
  // listing that finds none leaves as it was.
  std::int32_t PatchCount = 0;
  // Files created by the bundle unpacking, deleted when the window unloads; UnpackedCount is
  // their number.
  std::vector<std::string> UnpackedFiles;
  // The one loaded patch; every load replaces it.
  PatchRecord Patch;

  std::int32_t UnpackedCount() const { return static_cast<std::int32_t>(UnpackedFiles.size()); }
};

}  // namespace varnock
