#pragma once

#include <string>
#include <vector>

#include "support/paths.h"

namespace varnock {

// What the picker reads from, and does to, the machine: its drives and its folders. The real
// one works on the native file system; tests supply drives that are not ready, or a machine of
// the other path style.
class PickerEnvironment {
 public:
  virtual ~PickerEnvironment() = default;

  virtual PathStyle Style() const = 0;
  // The roots of the drives in display order: Windows style "C:\"; POSIX style the mount
  // points, the root "/" first, the others without a trailing separator ("/home").
  virtual std::vector<std::string> Drives() const = 0;
  // False for a drive whose root cannot be read (no medium, unreachable, no permission).
  virtual bool DriveReady(const std::string& root) const = 0;
  // The process's current folder.
  virtual std::string CurrentFolder() const = 0;
  // The folder a drive opens on when it is chosen: its current folder (Windows keeps one per
  // drive), else its root.
  virtual std::string CurrentFolderOn(const std::string& root) const = 0;

  // An absolute folder path with its ".." steps resolved as the file system resolves them
  // (through symbolic links); a machine that folds them as text may keep the path as it is.
  virtual std::string ResolveDots(const std::string& path) const { return path; }

  virtual bool FolderExists(const std::string& path) const = 0;
  virtual bool FileExists(const std::string& path) const = 0;
  // True when anything at all is at `path`: a file, a folder, a link (even a dangling one).
  virtual bool EntryExists(const std::string& path) const = 0;
  // The names of the subfolders of `folder`, in the order to show them.
  virtual std::vector<std::string> Subfolders(const std::string& folder) const = 0;
  // The names of the files of `folder` that match `pattern`, in listing order.
  virtual std::vector<std::string> Files(const std::string& folder,
                                         const std::string& pattern) const = 0;
  // Creates one folder level; on failure returns false with the platform's description.
  virtual bool CreateFolder(const std::string& path, std::string& error) = 0;
};

}  // namespace varnock
