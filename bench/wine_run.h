#pragma once

#include <optional>
#include <string>
#include <vector>

namespace varnock::bench {

// Windows programs of the Windows build, started under Wine in that build's prefix. The build
// is named by the environment variable VARNOCK_WINDOWS_BUILD (e.g. build/windows); the Win32
// benchmarks are skipped without it. Run them inside xvfb-run, with the Wine server started
// first (`wineserver -p`), so that no start waits for it.
class WineRun {
 public:
  // None when VARNOCK_WINDOWS_BUILD is not set.
  static std::optional<WineRun> FromEnvironment();

  // A program's path in the build, as "win32/varnock.exe".
  std::string Program(const std::string& relative) const { return build_ + "/" + relative; }
  // `path` as the Windows programs see it (drive Z:).
  static std::string WindowsPath(const std::string& path);

  // Runs `program` with `arguments` and the extra environment `variables` ("NAME=value") and
  // waits for it; its standard output is returned. None when it did not end well.
  std::optional<std::string> Run(const std::string& program,
                                 const std::vector<std::string>& arguments,
                                 const std::vector<std::string>& variables = {}) const;

 private:
  explicit WineRun(std::string build) : build_(std::move(build)) {}
  std::string build_;
};

}  // namespace varnock::bench
