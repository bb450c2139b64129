// The set file reader on any input: a set that reads is written back to a text that reads as
// the same set and is written the same again; a set that does not read says where.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "sets/patch_set.h"

using namespace varnock;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  PatchSet set;
  std::string error;
  if (!ParsePatchSet(text, set, error)) {
    fuzz::Require(error.starts_with("line ") || error.starts_with("the set"),
                  "a set error names neither its line nor the file");
    fuzz::Sink(error);
    return 0;
  }
  fuzz::Require(set.patches.size() <= kMaxPatchSetPatches, "a set of too many patches reads");
  const std::string written = PatchSetText(set);
  PatchSet again;
  fuzz::Require(ParsePatchSet(written, again, error), "a written set does not read");
  fuzz::Require(again == set, "a written set reads as another set");
  fuzz::Require(PatchSetText(again) == written, "a set is not written the same again");
  return 0;
}
