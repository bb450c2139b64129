#pragma once

#include "picker/picker_environment.h"

namespace varnock {

// The picker's environment on this machine: its drives and its native file system.
class SystemPickerEnvironment : public PickerEnvironment {
 public:
  PathStyle Style() const override { return kNativeStyle; }
  std::vector<std::string> Drives() const override;
  bool DriveReady(const std::string& root) const override;
  std::string CurrentFolder() const override;
  std::string CurrentFolderOn(const std::string& root) const override;
  bool FolderExists(const std::string& path) const override;
  bool FileExists(const std::string& path) const override;
  bool EntryExists(const std::string& path) const override;
  std::string ResolveDots(const std::string& path) const override;
  std::vector<std::string> Subfolders(const std::string& folder) const override;
  std::vector<std::string> Files(const std::string& folder,
                                 const std::string& pattern) const override;
  bool CreateFolder(const std::string& path, std::string& error) override;
};

}  // namespace varnock
