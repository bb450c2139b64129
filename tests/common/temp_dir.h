#pragma once

#include <filesystem>
#include <string>

#include "support/bytes.h"
#include "support/paths.h"

namespace varnock::testing {

// Places the temporary folders of this test program in memory where the system has a folder
// for it (/dev/shm), for tests that flush thousands of files. False where it has none: every
// flush then goes to the disk.
bool TempDirsInMemory();

Bytes ReadBytes(const std::string& path);
inline Bytes ToBytes(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes. Paths are native UTF-8 texts, as the program uses them.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + separator + name.
  std::string File(const std::string& name) const { return JoinPath(path_, name); }
  // Writes `content` to path() + separator + name (folders created as needed); returns the path.
  std::string Write(const std::string& name, const Bytes& content) const;
  std::string WriteText(const std::string& name, const std::string& content) const {
    return Write(name, ToBytes(content));
  }

 private:
  std::string path_;
};

}  // namespace varnock::testing
