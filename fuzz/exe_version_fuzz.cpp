// The version signature of any file, under each of the four program names: a UTF-8
// signature without a message, or "ERROR" after exactly one critical message.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "target/exe_version.h"

using namespace varnock;

namespace {

constexpr const char* kNames[] = {"tomb4.exe", "tom2pc.exe", "WinRoomEdit.exe", "script.exe"};

void CheckSignature(const std::string& path) {
  fuzz::QuietUi ui;
  const std::string version = GetExeVersion(path, ui);
  if (version == kFailedExeVersion) {
    fuzz::Require(ui.messages == 1 && ui.critical == 1,
                  "a signature that fails gives other than one critical message");
  } else {
    fuzz::Require(ui.messages == 0, "a signature that succeeds shows a message");
    fuzz::Require(
        version.size() > 2 && version.back() == ')' && version.find(" (") != std::string::npos,
        "the signature does not end in its bracketed build date");
    // Logo codes are bytes of the file, any of them; they reach the text as UTF-8.
    fuzz::Require(fuzz::IsUtf8(version), "the signature is not UTF-8 text");
  }
  fuzz::Sink(version);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Sandbox& sandbox = fuzz::Sandbox::Get();
  for (const char* name : kNames) {
    const std::string path = sandbox.File(name);
    fuzz::WriteInput(path, data, size);
    CheckSignature(path);
  }
  return 0;
}
