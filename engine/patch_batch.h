#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/operation_context.h"
#include "engine/result_code.h"
#include "patchfile/patch_record.h"

namespace varnock {

// One patch of a batch and the argument it is applied with (without one, the value its file
// name carries).
struct BatchItem {
  std::string patchPath;
  std::optional<std::string> argument;
};

// Applies the patches to the executable in the given order (or removes them in the reverse
// order) in one image and one crash-safe rewrite: each patch is verified against the image as
// the earlier ones left it. ResultDone when every patch was done and the file rewritten;
// ResultAlreadyDone when every patch was already done; otherwise ResultFailed, after a message
// that names the patch, the zone and the offset (or the two patches that share a byte). Only
// ResultDone writes the file; the context's history, when it keeps one, records the rewrite
// before it is made.
ResultCode PerformBatch(const std::vector<BatchItem>& items, const std::string& exePath,
                        bool removing, const OperationContext& context);

// Makes the executable hold another set of patches in one image and one crash-safe rewrite:
// `removals` come off first, in the order given (each off the image the ones before left),
// then `applications` go on in theirs. Patches removed may share bytes with patches applied,
// as when one variant of a patch is exchanged for another. Results and messages as
// PerformBatch's; the history records one "batch".
ResultCode PerformChanges(const std::vector<BatchItem>& removals,
                          const std::vector<BatchItem>& applications, const std::string& exePath,
                          const OperationContext& context);

// A patch of a batch as an earlier look at the executable loaded it.
struct LoadedBatchItem {
  BatchItem item;
  PatchRecord record;
  std::string sha256;  // of the bytes the record was loaded from
};

// Patches an earlier look loaded and judged, to change on the executable that look read.
struct LoadedChanges {
  std::vector<LoadedBatchItem> removals = {};
  std::vector<LoadedBatchItem> applications = {};
  std::string exePath = {};
  std::string exeSha256 = {};   // of the executable as the look read it
  std::string exeVersion = {};  // its signature
};

// PerformChanges for patches an earlier look loaded and judged, on an executable that look read
// with the SHA-256 `exeSha256` and the signature `exeVersion`: no patch is loaded or judged
// again, so the bytes written are those of the records judged (the history notes them by the
// SHA-256 they were loaded with), whatever the patch files hold by now. The executable is summed
// again when it is read: one that holds other bytes than were judged is refused after a message,
// and nothing is written. Otherwise results, messages and the history as PerformChanges's.
ResultCode PerformLoadedChanges(LoadedChanges changes, const OperationContext& context);

}  // namespace varnock
