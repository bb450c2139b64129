#include "author/create_patch.h"

#include <cstdint>
#include <optional>

#include "author/differing_zones.h"
#include "support/code_page.h"
#include "support/files.h"
#include "support/paths.h"
#include "support/translation.h"
#include "target/exe_version.h"
#include "target/target_table.h"

namespace varnock {

namespace {

bool Refuse(UserInterface& ui, const std::string& message) {
  ui.ShowMessage(message, MessageIcon::Critical);
  return false;
}

bool ReadExecutable(const std::string& path, Bytes& image, UserInterface& ui) {
  std::string error;
  if (!ReadWholeFile(path, image, error)) {
    return Refuse(
        // TRANSLATORS: %1 is the executable's path, %2 the reason.
        ui, TrFormatCrLf("ERROR: cannot read the executable %1\nError mexage: %2", {path, error}));
  }
  if (image.size() > static_cast<std::size_t>(INT32_MAX)) {
    return Refuse(ui,
                  TrFormat("ERROR: the executable %1 is too large for a patch's offsets", {path}));
  }
  return true;
}

// Lines separated by CR LF, without the byte-order mark a file may begin with and the newline
// it ends in.
std::string DescriptionLines(const std::string& text) {
  std::string lines;
  for (std::size_t at = text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0; at < text.size(); ++at) {
    if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') {
      continue;
    }
    lines += text[at] == '\n' ? std::string("\r\n") : std::string(1, text[at]);
  }
  while (lines.size() >= 2 && lines.compare(lines.size() - 2, 2, "\r\n") == 0) {
    lines.resize(lines.size() - 2);
  }
  return lines;
}

// The length of a patch's target never changes: a tail that differs cannot be patched.
bool SameLength(const Bytes& original, const Bytes& modified, UserInterface& ui) {
  if (original.size() == modified.size()) {
    return true;
  }
  const std::string sizes[] = {
      std::to_string(modified.size() > original.size() ? modified.size() - original.size()
                                                       : original.size() - modified.size()),
      std::to_string(original.size())};
  if (modified.size() > original.size()) {
    // TRANSLATORS: %1 is the difference in bytes, %2 the original's size in bytes.
    return Refuse(ui, TrFormat("ERROR: the modified executable is %1 bytes longer than the "
                               "original (%2 bytes): a patch never changes the length of a "
                               "file, so the tail that differs cannot be patched",
                               {sizes[0], sizes[1]}));
  }
  // TRANSLATORS: %1 is the difference in bytes, %2 the original's size in bytes.
  return Refuse(ui, TrFormat("ERROR: the modified executable is %1 bytes shorter than the "
                             "original (%2 bytes): a patch never changes the length of a "
                             "file, so the tail that differs cannot be patched",
                             {sizes[0], sizes[1]}));
}

std::optional<std::string> TargetOf(const std::string& originalPath, const PatchOptions& options,
                                    UserInterface& ui) {
  const std::string name = options.program.empty() ? GetFileName(originalPath) : options.program;
  std::optional<std::string> target = TargetProgramName(name);
  if (!target) {
    // TRANSLATORS: %1 is a file or program name, %2 the list of program names Varnock knows.
    Refuse(ui, TrFormat("ERROR: cannot tell the target program from %1: expected %2, or the "
                        "program named separately",
                        {name, TargetProgramNames()}));
  }
  return target;
}

}  // namespace

bool CreatePatch(const std::string& originalPath, const std::string& modifiedPath,
                 const PatchOptions& options, PatchRecord& patch, UserInterface& ui) {
  const std::optional<std::string> target = TargetOf(originalPath, options, ui);
  Bytes original;
  Bytes modified;
  if (!target || !ReadExecutable(originalPath, original, ui) ||
      !ReadExecutable(modifiedPath, modified, ui) || !SameLength(original, modified, ui)) {
    return false;
  }
  const std::string description = DescriptionLines(options.description);
  if (AnsiToUtf8(Utf8ToAnsi(description)) != description) {
    return Refuse(ui, Tr("ERROR: the description holds characters that the ANSI code page cannot "
                         "hold"));
  }
  PatchRecord made;
  made.Zones = DifferingZones(original, modified);
  if (made.Zones.empty()) {
    return Refuse(ui, Tr("ERROR: the two executables are identical: there is nothing to patch"));
  }
  made.ExeVersion = GetExeVersionAs(originalPath, *target, ui);
  if (made.ExeVersion == "ERROR") {
    return false;
  }
  made.Flags = (options.dynamic ? Dynamic : 0) | (options.versionBound ? SameExeVersionOnly : 0);
  made.Description = description;
  made.ExeName = *target;
  patch = std::move(made);
  return true;
}

}  // namespace varnock
