#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/exe_read.h"
#include "patchfile/patch_record.h"
#include "support/bytes.h"

namespace varnock {

// Where a patch stands on one executable.
enum class PatchState {
  Applied,        // every zone holds its patched bytes
  NotApplied,     // every zone holds its original bytes
  PartlyApplied,  // some zones patched, the others original
  DoesNotFit,     // some zone holds neither, or lies outside the file
  OtherBuild,     // bound to one build, and the executable is another
  OtherProgram,   // made for another of the target programs
  Broken,         // the patch file does not load, or its argument cannot be written
};

// "applied", "not-applied", "partly-applied", "does-not-fit", "other-build",
// "other-program", "broken".
const char* StateWord(PatchState state);

// The status of a patch as a person reads it, in the user's language: "not applied", "does not
// fit this file", "made for another build". Scripts read StateWord's words.
const char* StatusWord(PatchState state);

// What one zone's place holds. A dynamic patch that the search finds nowhere has its reference
// zone NotFound and every other zone Unplaced: they are not judged at their recorded places.
enum class ZoneVerdict { Original, Patched, Other, Outside, NotFound, Unplaced };

// "original", "patched", "other", "outside", "not-found", "unplaced".
const char* VerdictWord(ZoneVerdict verdict);

struct ZoneReport {
  std::size_t index = 0;
  std::int64_t offset = 0;  // where the zone lies on this executable
  std::int32_t length = 0;
  Bytes original;
  Bytes patched;  // with the argument written in
  Bytes found;    // the executable's bytes there; empty when the zone lies outside
  ZoneVerdict verdict = ZoneVerdict::Outside;
  bool written = true;  // false for an alignment record, which is never written
};

struct PatchStatus {
  PatchState state = PatchState::Broken;
  // True when the zones' offsets are where the engine places them on this executable (a
  // dynamic patch moved by `shift`); false when the placement failed and they are as recorded.
  bool placed = false;
  std::int32_t shift = 0;
  std::vector<ZoneReport> zones;
  // The argument value read back from the executable, when it is applied with a value other
  // than the one judged with.
  std::optional<std::string> argument;
  // Why the patch is broken (the message the engine would have shown), or why a dynamic patch
  // has no place.
  std::string reason;
};

// How much of each zone a status reports: everything; where it lies and its verdict only, its
// three runs of bytes left empty (all that the conflicts of a folder need); or no zone at all,
// the state alone (for a caller that makes each zone's report when it shows it).
enum class ZoneDetail { WithBytes, PlacesOnly, StateOnly };

struct Trial;

// The report of zone `index` of `record` (argument written in, offsets as recorded) where
// `trial` places it, with what the image holds there.
ZoneReport ZoneReportAt(const PatchRecord& record, const Bytes& image, const Trial& trial,
                        std::size_t index, ZoneDetail detail = ZoneDetail::WithBytes);
// Those of every zone.
std::vector<ZoneReport> ZoneTable(const PatchRecord& record, const Bytes& image, const Trial& trial,
                                  ZoneDetail detail = ZoneDetail::WithBytes);
// Why a dynamic patch has no place; empty when it has one.
std::string Unplaced(const PatchRecord& record, const Trial& trial);

// The status of the patch loaded from `patchPath` (as `record`) on the executable as read,
// judged with `argument` or, without one, with the value the file name carries. Shows nothing
// and writes nothing.
PatchStatus StatusOfPatch(const std::string& patchPath, const std::optional<std::string>& argument,
                          const PatchRecord& record, const ExeRead& exe,
                          ZoneDetail detail = ZoneDetail::WithBytes);

// The same for `record` with its version accepted and its argument written in; `loaded` is the
// record as loaded (only for a patch that takes an argument), from which another value is read
// back.
PatchStatus StatusOfPrepared(const std::string& patchPath, const PatchRecord& loaded,
                             const PatchRecord& record, const Bytes& image,
                             const std::string& exePath, ZoneDetail detail);

// The same, loading the patch and reading the executable itself.
PatchStatus GetPatchStatus(const std::string& patchPath, const std::string& exePath,
                           const std::optional<std::string>& argument, std::string& exeVersion);

// The value the patch at `patchPath` is applied with on the executable at `exePath`, when it
// is another than the one its file name carries and an operation can be given it;
// std::nullopt otherwise.
std::optional<std::string> AppliedArgument(const std::string& patchPath,
                                           const std::string& exePath);

}  // namespace varnock
