#pragma once

#include <optional>
#include <string>

#include "picker/file_or_folder_picker.h"

namespace varnock {

// The main window's two uses of its picker, each shown modally where the user is (see
// picker_start.h): Patch Folder asks for a folder, Change for an executable of the chosen
// patch's program. Each gives nothing when the user cancelled.
class MainPickers {
 public:
  explicit MainPickers(FileOrFolderPicker& picker) : picker_(picker) {}

  std::optional<std::string> PatchFolder(const std::string& patchFolder);
  std::optional<std::string> Target(const std::string& targetName, const std::string& chosenExe,
                                    const std::string& editorFolder,
                                    const std::string& currentFolder);
  // Closes the picker if it is shown.
  void Unload() { picker_.Unload(); }

 private:
  // Shows the picker with `caption` at `startFolder`, in file mode (`testFile`, listing the
  // names that match `mask`) or folder mode.
  std::optional<std::string> Run(const std::string& caption, const std::string& startFolder,
                                 bool testFile, const std::string& mask);

  FileOrFolderPicker& picker_;
};

}  // namespace varnock
