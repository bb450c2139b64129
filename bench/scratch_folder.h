#pragma once

#include <string>

#include "support/bytes.h"

namespace varnock::bench {

// A fresh folder under the system's temporary folder for the files of one benchmark, removed
// with everything in it when the object goes.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& path() const { return path_; }
  // Writes `content` as the file `name` of the folder; returns its path.
  std::string Write(const std::string& name, const Bytes& content) const;

 private:
  std::string path_;
};

}  // namespace varnock::bench
