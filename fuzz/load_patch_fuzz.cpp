// The patch loader on any file: it loads what is there, or refuses it with one message, and
// never sizes anything by a count the file cannot hold.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "patchfile/load_patch.h"
#include "patchfile/patch_writer.h"

using namespace varnock;

namespace {

void CheckLoaded(const PatchRecord& record, const std::uint8_t* data, std::size_t size) {
  for (const PatchZone& zone : record.Zones) {
    fuzz::Require(zone.Length >= 1, "a loaded zone is empty");
    fuzz::Require(zone.OriginalBytes.size() == static_cast<std::size_t>(zone.Length) &&
                      zone.PatchBytes.size() == static_cast<std::size_t>(zone.Length),
                  "a zone's bytes do not match its length");
  }
  fuzz::Require(fuzz::IsUtf8(record.ExeVersion) && fuzz::IsUtf8(record.Description) &&
                    fuzz::IsUtf8(record.ExeName),
                "a loaded text is not UTF-8");
  // What was loaded is exactly the start of the file: written back, it gives the same bytes.
  const Bytes written = WritePatch(record);
  fuzz::Require(written.size() <= size && std::equal(written.begin(), written.end(), data),
                "the loaded patch differs from the file");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Sandbox& sandbox = fuzz::Sandbox::Get();
  const std::string path = sandbox.File("Patch.ptc");
  fuzz::WriteInput(path, data, size);
  fuzz::QuietUi ui;
  PatchRecord record;
  if (LoadPatch(path, record, ui)) {
    fuzz::Require(ui.messages == 0, "a patch that loads shows a message");
    CheckLoaded(record, data, size);
  } else {
    fuzz::Require(ui.messages == 1 && ui.critical == 1,
                  "a patch that does not load gives other than one critical message");
  }
  fuzz::Sink(record.Zones.size() + record.ArgOffsets.size() + ui.textBytes);
  fuzz::Sink(record.Description);
  return 0;
}
