// The readable patch source on any input, read both as a source and as a .ptc file: a source
// that parses is written back to the same text and compiles to a file the loader reads back
// whole; a .ptc file that loads becomes a source that compiles to the very same bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "patchfile/load_patch.h"
#include "patchfile/patch_source.h"

using namespace varnock;

namespace {

void CheckSource(std::string_view text, const std::string& path) {
  PatchSource source;
  std::string error;
  if (!ParsePatchSource(text, source, error)) {
    fuzz::Require(error.rfind("line ", 0) == 0, "a source error does not name its line");
    fuzz::Sink(error);
    return;
  }
  const std::string written = DecompilePatch(source);
  PatchSource again;
  fuzz::Require(ParsePatchSource(written, again, error), "a decompiled source does not parse");
  fuzz::Require(again == source, "a decompiled source reads back as another patch");
  fuzz::Require(DecompilePatch(again) == written, "a source is not written back the same");
  fuzz::WriteInput(path, CompiledPatch(source));
  fuzz::QuietUi ui;
  PatchSource loaded;
  fuzz::Require(ReadPatchAsSource(path, loaded, ui), "a compiled source does not load");
  fuzz::Require(loaded == source, "a compiled source loads as another patch");
}

void CheckPatchFile(const std::uint8_t* data, std::size_t size, const std::string& path) {
  fuzz::WriteInput(path, data, size);
  fuzz::QuietUi ui;
  PatchSource source;
  if (!ReadPatchAsSource(path, source, ui)) {
    fuzz::Require(ui.messages == 1,
                  "a patch that cannot be decompiled gives other than one message");
    return;
  }
  const std::string text = DecompilePatch(source);
  PatchSource parsed;
  std::string error;
  fuzz::Require(ParsePatchSource(text, parsed, error), "a decompiled patch does not parse");
  const Bytes compiled = CompiledPatch(parsed);
  fuzz::Require(compiled.size() == size && std::equal(compiled.begin(), compiled.end(), data),
                "a decompiled patch does not compile to the same bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::Sandbox::Get().File("Patch.ptc");
  CheckSource(std::string_view(reinterpret_cast<const char*>(data), size), path);
  CheckPatchFile(data, size, path);
  return 0;
}
