#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/main_presenter.h"
#include "app/trim_root_backslash.h"
#include "app/window_texts.h"
#include "support/files.h"
#include "support/paths.h"

namespace varnock {

namespace {

bool IsPatchFile(const std::string& path) {
  const std::string name = GetFileName(path);
  return name.size() > 4 &&
         EqualsIgnoreCase(std::string_view(name).substr(name.size() - 4), ".ptc");
}

// A path as the user gave it, taken from `folder` when it is relative.
std::string AbsoluteFrom(const std::string& folder, const std::string& path) {
  const std::filesystem::path given = ToFsPath(path);
  return FromFsPath((given.is_absolute() ? given : ToFsPath(folder) / given).lexically_normal());
}

}  // namespace

void MainPresenter::FilesDropped(const std::vector<std::string>& paths) {
  Guarded("open the dropped files", [&] { OpenFiles(paths); });
}

// A .ptc file, or a folder, gives the patch folder; any other file is the executable to patch.
// The executable comes first: its listing would choose the first patch instead of the one
// opened.
void MainPresenter::OpenFiles(const std::vector<std::string>& paths) {
  std::string patch;
  std::string folder;
  std::string exe;
  for (const std::string& given : paths) {
    const std::string path = AbsoluteFrom(environment_.currentFolder(), given);
    if (FolderExists(path)) {
      folder = path;
    } else if (!FileExists(path)) {
      ui_.ShowMessage(texts::UnexpectedFailure(
                          "open " + given,
                          ErrorText(std::make_error_code(std::errc::no_such_file_or_directory))),
                      MessageIcon::None);
    } else {
      (IsPatchFile(path) ? patch : exe) = path;
    }
  }
  if (!exe.empty()) {
    UseTarget(exe);
  }
  if (!patch.empty()) {
    OpenPatch(patch);
  } else if (!folder.empty()) {
    UsePatchFolder(folder);
  }
}

// The patch's folder becomes the patch folder, and the patch is chosen in the list.
void MainPresenter::OpenPatch(const std::string& patch) {
  if (!UsePatchFolder(WholeRoot(GetParentFolder(patch)))) {
    return;
  }
  const std::string name = GetFileName(patch);
  for (std::size_t i = 0; i < patchItems_.size(); ++i) {
    if (EqualsIgnoreCase(patchItems_[i], name)) {
      if (static_cast<int>(i) != view_.SelectedPatchIndex()) {
        view_.SelectPatchItem(static_cast<int>(i));
        ChoosePatch();
      }
      return;
    }
  }
}

}  // namespace varnock
