#pragma once

#include <string>

namespace varnock {

// The modal file-or-folder dialog as its caller uses it: set the caption, prepare it with
// ImpostaValori, show it, then read ExitValue and, when it is true, PathDir. ExitValue and
// PathDir keep their values after the window has closed.
class FileOrFolderPicker {
 public:
  virtual ~FileOrFolderPicker() = default;

  virtual void SetCaption(const std::string& caption) = 0;
  // Percorso: the folder to start in (empty: the process's current folder). TestFile: true
  // chooses a file matching Maschera, false chooses a folder.
  virtual void ImpostaValori(const std::string& percorso, bool testFile,
                             const std::string& maschera) = 0;
  // Shows the dialog modally; returns when it has closed.
  virtual void ShowModal() = 0;
  // Closes the window if it is shown.
  virtual void Unload() = 0;

  virtual bool ExitValue() const = 0;
  virtual std::string PathDir() const = 0;
  virtual void SetExitValue(bool value) = 0;
  virtual void SetPathDir(const std::string& value) = 0;
};

}  // namespace varnock
