#include "target/target_table.h"

#include <string_view>

#include "patchfile/load_patch.h"
#include "support/paths.h"
#include "support/translation.h"

namespace varnock {

namespace {

struct TargetProgram {
  std::string_view targetName;
  std::string_view subfolder;  // below the level-editor folder, empty for the folder itself
};

constexpr TargetProgram kTargetPrograms[] = {
    {"tomb4.exe", ""},
    {"tom2pc.exe", ""},
    {"winroomedit.exe", ""},
    {"script.exe", "script"},
};

std::string RelativePath(const TargetProgram& program) {
  std::string path(1, Separator());
  if (!program.subfolder.empty()) {
    path += std::string(program.subfolder) + Separator();
  }
  return path + std::string(program.targetName);
}

}  // namespace

bool GetPatchTarget(const std::string& patchPath, PatchRecord& record, UserInterface& ui,
                    std::string& baseName, std::string& relativePath) {
  if (!LoadPatch(patchPath, record, ui)) {
    return false;
  }
  for (const TargetProgram& program : kTargetPrograms) {
    if (EqualsIgnoreCase(record.ExeName, program.targetName)) {
      baseName = GetBaseName(record.ExeName);
      relativePath = RelativePath(program);
      return true;
    }
  }
  // Assigned as one character: GCC 12 at -O3 mistakes the copy of "*" for an overlapping one.
  baseName.assign(1, '*');
  relativePath.clear();
  return true;
}

std::optional<std::string> TargetProgramName(std::string_view name) {
  for (const TargetProgram& program : kTargetPrograms) {
    if (EqualsIgnoreCase(name, program.targetName) ||
        EqualsIgnoreCase(name, GetBaseName(program.targetName))) {
      return std::string(program.targetName);
    }
  }
  return std::nullopt;
}

std::string TargetProgramNames() {
  std::string names;
  for (std::size_t i = 0; i + 1 < std::size(kTargetPrograms); ++i) {
    names += (i == 0 ? "" : ", ") + std::string(kTargetPrograms[i].targetName);
  }
  // TRANSLATORS: %1 is a comma-separated list of program names, %2 the last one.
  return TrFormat("%1 or %2", {names, kTargetPrograms[std::size(kTargetPrograms) - 1].targetName});
}

}  // namespace varnock
