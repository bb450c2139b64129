#pragma once

#include <string>
#include <vector>

#include "history/history_record.h"
#include "support/bytes.h"

namespace varnock {

// One rewrite of an executable as its record notes it.
struct RecordedChange {
  std::vector<RecordedRange> ranges = {};  // in rising order
  std::string kind = {};                   // "apply", "batch", "restore", ...
  std::vector<PatchNote> patches = {};
  // The SHA-256 of the content before and after, when they are known already; else empty.
  std::string beforeSha256 = {};
  std::string afterSha256 = {};
  // Whether the file may be rewritten when this record cannot be written (see RecordedRewrite).
  enum class Need { Optional, Required } need = Need::Optional;
};

// The history kept for the operations of one run: each rewrite of an executable is recorded
// in its record, and flushed, before the file is replaced. A record that cannot be written
// never stops the operation: the reason is kept for the front end to tell.
class OperationHistory {
 public:
  // `folder` holds the records (HistoryFolder()); empty when none can be kept.
  explicit OperationHistory(std::string folder) : folder_(std::move(folder)) {}

  // Records the rewrite of the executable at `exePath` to `after` that makes `change`. False,
  // with the reason in Failure(), when the record could not be written.
  bool Record(const std::string& exePath, const Bytes& after, RecordedChange change);
  // Where the records are kept; empty when none can be.
  const std::string& Folder() const { return folder_; }
  // The SHA-256 of the executable at `exePath` as it was read, known without summing it when
  // its stamp (LockedFile::Stamp) is the one kept after Varnock last wrote it; else empty.
  std::string StampedSha256(const std::string& exePath, const std::string& stamp) const;
  // After the rewrite just recorded: keeps the file's stamp after it (LockedFile::Stamp), so
  // that the next record of the file need not sum it again.
  void Completed(const std::string& exePath, const std::string& stamp) const;
  // Why the last record was not written; empty when it was.
  const std::string& Failure() const { return failure_; }
  // What the front end tells of the last record written, in one line: a damaged record kept
  // aside and a new one started. Empty when there is nothing to tell.
  const std::string& Notice() const { return notice_; }

 private:
  bool Save(const std::string& exePath, const Bytes& after, RecordedChange change);

  std::string folder_;
  std::string failure_;
  std::string notice_;
  std::string written_;
  std::string storedAt_;  // where the last record was written  // the SHA-256 of the content the
                          // last record says is written
};

// A patch file as an operation notes it: its name (without the "temp_" of the copy that
// carries an argument), its SHA-256 and the argument.
PatchNote NotePatch(const std::string& patchPath, const std::optional<std::string>& argument);

}  // namespace varnock
