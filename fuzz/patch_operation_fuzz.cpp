// A whole apply, then a whole remove, of a fuzzed patch on a fuzzed executable, through the
// same operation the window's buttons run. After every operation the executable is either
// byte-identical or the operation reports it done, and no file is left beside it; a patch
// that verifies its zones, sits at fixed places and whose zones do not overlap comes off
// again and gives the original bytes back.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/patch_operation.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/operation_input.h"
#include "support/files.h"

using namespace varnock;

namespace {

// Zones that are written, with their offsets as placed: none of them overlaps another.
bool ZonesApart(const PatchRecord& record) {
  std::vector<std::pair<std::int64_t, std::int64_t>> spans;
  for (std::size_t i = record.Has(RecordAlignment) ? 1 : 0; i < record.Zones.size(); ++i) {
    spans.emplace_back(record.Zones[i].Offset,
                       std::int64_t{record.Zones[i].Offset} + record.Zones[i].Length);
  }
  std::sort(spans.begin(), spans.end());
  for (std::size_t i = 1; i < spans.size(); ++i) {
    if (spans[i].first < spans[i - 1].second) {
      return false;
    }
  }
  return true;
}

// Applying then removing such a patch must give the original back: every zone is verified,
// found where it was put, and unaffected by a signature the patch itself changes.
bool ComesOffAgain(const PatchRecord& record) {
  return !record.Has(Dynamic) && !record.Has(DontVerifySource) && !record.Has(SameExeVersionOnly) &&
         ZonesApart(record);
}

ResultCode Run(const std::string& patch, const std::string& exe, bool remove, const Bytes& before,
               const std::vector<std::string>& files, PatchRecord& record, fuzz::QuietUi& ui) {
  const ResultCode result = RunPatchOperation(patch, exe, remove, record, {.ui = ui});
  const Bytes after = ReadWholeFile(exe);
  fuzz::Require(after.size() == before.size(), "the executable changed its length");
  fuzz::Require(result == ResultDone || after == before,
                "an operation that was not done changed the executable");
  fuzz::Require(fuzz::Contents(fuzz::Sandbox::Get().path()) == files,
                "the operation left a file behind");
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::OperationInput input = fuzz::DecodeOperationInput(data, size);
  const fuzz::Sandbox& sandbox = fuzz::Sandbox::Get();
  sandbox.Clear();
  // A patch that takes an argument carries one in its name; the user answers with the input's.
  const std::string patchName = input.answer.empty() ? "Patch.ptc" : "Patch#1#.ptc";
  const std::string patch = sandbox.File(patchName);
  const std::string exe = sandbox.File("tomb4.exe");
  fuzz::WriteInput(patch, input.patch);
  fuzz::WriteInput(exe, input.executable);
  const std::vector<std::string> files = fuzz::Contents(sandbox.path());

  fuzz::QuietUi ui(input.answer);
  PatchRecord record;
  const ResultCode applied = Run(patch, exe, false, input.executable, files, record, ui);
  if (applied == ResultDone && ComesOffAgain(record)) {
    const Bytes patched = ReadWholeFile(exe);
    const ResultCode removed = Run(patch, exe, true, patched, files, record, ui);
    fuzz::Require(removed == ResultDone, "a patch just applied does not come off");
    fuzz::Require(ReadWholeFile(exe) == input.executable,
                  "removing a patch just applied does not give the original back");
  }
  fuzz::Sink(static_cast<std::size_t>(applied) + ui.textBytes);
  return 0;
}
