#include "app/opened_files.h"

#include <filesystem>
#include <string_view>

#include "app/window_texts.h"
#include "support/files.h"
#include "support/paths.h"
#include "support/translation.h"

namespace varnock {

namespace {

bool HasExtension(const std::string& path, std::string_view extension) {
  const std::string name = GetFileName(path);
  return name.size() > extension.size() &&
         EqualsIgnoreCase(std::string_view(name).substr(name.size() - extension.size()), extension);
}

// A path as the user gave it, taken from `folder` when it is relative.
std::string AbsoluteFrom(const std::string& folder, const std::string& path) {
  const std::filesystem::path given = ToFsPath(path);
  return FromFsPath((given.is_absolute() ? given : ToFsPath(folder) / given).lexically_normal());
}

}  // namespace

OpenedFiles SortOpenedFiles(const std::vector<std::string>& paths, const std::string& currentFolder,
                            UserInterface& ui) {
  OpenedFiles opened;
  for (const std::string& given : paths) {
    const std::string path = AbsoluteFrom(currentFolder, given);
    if (FolderExists(path)) {
      opened.folder = path;
    } else if (!FileExists(path)) {
      // TRANSLATORS: %1 is a file as the user gave it
      ui.ShowMessage(texts::UnexpectedFailure(TrFormat("ERROR trying to open %1", {given}),
                                              NotAFileText(path)),
                     MessageIcon::None);
    } else if (HasExtension(path, ".ptc")) {
      opened.patch = path;
    } else if (HasExtension(path, ".ptcset")) {
      opened.set = path;
    } else if (HasExtension(path, ".exe")) {
      opened.exe = path;
    } else {
      ui.ShowMessage(texts::UnexpectedFailure(TrFormat("ERROR trying to open %1", {given}),
                                              Tr("only a program (.exe) can be patched")),
                     MessageIcon::None);
    }
  }
  return opened;
}

}  // namespace varnock
