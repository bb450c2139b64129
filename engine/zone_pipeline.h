#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/operation_context.h"
#include "engine/result_code.h"
#include "history/operation_history.h"
#include "patchfile/patch_record.h"
#include "support/bytes.h"
#include "support/safe_rewrite.h"
#include "ui/user_interface.h"

namespace varnock {

// The steps of one apply or remove between reading the executable and writing it, shared by
// the single operation, the batch, the dry run and the status.

// A patch bound to one build is refused, without a message, for any other build; the
// signature is computed into `exeVersion` when that is empty, and "ERROR" never matches.
bool VersionAccepted(const std::string& exePath, const PatchRecord& record, std::string& exeVersion,
                     UserInterface& ui);

// Tells the user, once, what the opening of the executable found of a write in place that was
// interrupted: a notice when its old bytes were put back, a critical message for a journal
// that was not used.
void TellInterruptedWrite(const InterruptedWrite& found, UserInterface& ui);
// Puts the executable back when a write in place of it was interrupted, and tells so. False
// after the general failure message, when that was needed and could not be done.
bool RestoreExecutable(const std::string& exePath, UserInterface& ui);

// The whole executable, held by `exe` from before the read to after its rewrite, so that no
// other writer comes between them. A file that cannot be opened or read, or an empty one,
// ends in the general failure message.
bool ReadExecutableImage(const std::string& exePath, LockedFile& exe, Bytes& image,
                         UserInterface& ui);
// The same for a look that writes nothing: a write in place that was interrupted is undone
// first; then the file is read while no writer holds it, and held against writers only for the
// read.
bool ReadExecutableImage(const std::string& exePath, Bytes& image, UserInterface& ui);

// Keeps in `found` the bytes of `image` under the zones of `record` that are to be written,
// where no byte is kept yet. Taken before each patch of a run goes onto the image, they hold the
// bytes the run found wherever it writes.
void KeepZoneBytes(const Bytes& image, const PatchRecord& record, ByteRuns& found);

// Replaces the held executable's content with `image`. When the context keeps a history,
// `change` (its ranges from the bytes KeepZoneBytes found: ChangedRanges) is recorded first
// (RecordedRewrite); a record that cannot be written leaves its reason there and the rewrite
// goes on. False after the general failure message when the rewrite failed.
bool RewriteExecutable(LockedFile& exe, const std::string& exePath, const Bytes& image,
                       RecordedChange change, const OperationContext& context);

// Writes the argument into the loaded record when it takes one: the value `argument` when
// given, otherwise the one the patch path's name carries. False after a failure has been
// reported (the general one included).
bool InsertArgument(const std::string& patchPath, const std::optional<std::string>& argument,
                    PatchRecord& record, UserInterface& ui);

// InsertArgument, then the placement of a dynamic patch on the image. ResultDone when the
// zones are ready to be applied; otherwise the result to return.
ResultCode PrepareZones(const std::string& patchPath, const std::optional<std::string>& argument,
                        const Bytes& image, PatchRecord& record, bool removing, UserInterface& ui);

// The index of the first zone that is verified and written (1 under RecordAlignment).
std::size_t FirstWrittenZone(const PatchRecord& record);
bool WritesAnyZone(const PatchRecord& record);

// Verifies and changes every written zone in the image, in order; the first one that does
// not succeed decides the result, and its index goes to `failedZone` when given.
ResultCode ApplyZones(Bytes& image, const PatchRecord& record, bool removing,
                      std::size_t* failedZone = nullptr);

// The result ApplyZones would give on the zones moved by `shift`, without writing: each zone is
// verified against the image as the zones before it would have left it.
ResultCode VerifyZones(const Bytes& image, const PatchRecord& record, bool removing,
                       std::int32_t shift, std::size_t* failedZone = nullptr);

// The engine's steps after the argument is written in, on an image in memory, writing nothing.
struct Trial {
  ResultCode result = ResultFailed;  // what the operation would return
  // False when the dynamic search found no place: the zones are then as recorded.
  bool placed = true;
  std::int32_t shift = 0;  // where the zones lie from where they were recorded
  std::size_t zone = 0;    // the zone that decided a result other than ResultDone
};
Trial TryZones(const Bytes& image, const PatchRecord& record, bool removing);

}  // namespace varnock
