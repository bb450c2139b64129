// The bundle unpacking on any executable: it writes files inside its destination folder only,
// records each new file once, and records nothing it did not create there.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "patchfile/bundle_unpack.h"
#include "support/paths.h"

using namespace varnock;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Sandbox& sandbox = fuzz::Sandbox::Get();
  sandbox.Clear();
  const std::string exe = sandbox.File("varnock.exe");
  const std::string folder = sandbox.File("patches");
  fuzz::WriteInput(exe, data, size);

  std::vector<std::string> unpacked;
  const bool complete = UnpackBundle(exe, folder, unpacked);

  fuzz::Require(std::set<std::string>(unpacked.begin(), unpacked.end()).size() == unpacked.size(),
                "a file is recorded twice");
  for (const std::string& file : unpacked) {
    fuzz::Require(GetParentFolder(file) == folder, "a recorded file lies outside the folder");
  }
  // Only the executable, the folder and plain files directly inside it.
  for (const std::string& entry : fuzz::Contents(sandbox.path())) {
    const bool inFolder = entry.rfind("patches/", 0) == 0 &&
                          entry.find('/', sizeof "patches/" - 1) == std::string::npos;
    fuzz::Require(entry == "varnock.exe" || entry == "patches" || inFolder,
                  "the unpacking wrote outside its folder");
  }
  fuzz::Sink(unpacked.size() + (complete ? 1U : 0U));
  return 0;
}
