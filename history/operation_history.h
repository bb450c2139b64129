#pragma once

#include <string>
#include <vector>

#include "history/history_record.h"
#include "support/bytes.h"

namespace varnock {

// The history kept for the operations of one run: each rewrite of an executable is recorded
// in its record, and flushed, before the file is replaced. A record that cannot be written
// never stops the operation: the reason is kept for the front end to tell.
class OperationHistory {
 public:
  // `folder` holds the records (HistoryFolder()); empty when none can be kept.
  explicit OperationHistory(std::string folder) : folder_(std::move(folder)) {}

  // Records the rewrite of the executable at `exePath` from `before` to `after` (images of one
  // length). False, with the reason in Failure(), when the record could not be written.
  bool Record(const std::string& exePath, const Bytes& before, const Bytes& after,
              const std::string& kind, std::vector<PatchNote> patches);
  // Why the last record was not written; empty when it was.
  const std::string& Failure() const { return failure_; }

 private:
  std::string folder_;
  std::string failure_;
};

// A patch file as an operation notes it: its name (without the "temp_" of the copy that
// carries an argument), its SHA-256 and the argument.
PatchNote NotePatch(const std::string& patchPath, const std::optional<std::string>& argument);

}  // namespace varnock
