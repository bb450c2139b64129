#pragma once

#include <filesystem>
#include <string>

#include "support/bytes.h"

namespace varnock::testing {

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
  std::string File(const std::string& name) const;
  // Writes `content` to path() + separator + name (folders created as needed); returns the path.
  std::string Write(const std::string& name, const Bytes& content) const;
  std::string WriteText(const std::string& name, const std::string& content) const;

 private:
  std::string path_;
};

Bytes ReadBytes(const std::string& path);
Bytes ToBytes(const std::string& text);

}  // namespace varnock::testing
