#include "history/operation_history.h"

#include <algorithm>
#include <exception>
#include <future>
#include <system_error>

#include "history/history_store.h"
#include "support/paths.h"
#include "support/sha256.h"
#include "support/translation.h"

namespace varnock {

namespace {

// The byte at `offset` (inside `after`) of the content that `after` was before `ranges` (in
// rising order) changed it.
std::uint8_t ByteBefore(const Bytes& after, const std::vector<RecordedRange>& ranges,
                        std::uint64_t offset) {
  auto range =
      std::upper_bound(ranges.begin(), ranges.end(), offset,
                       [](std::uint64_t at, const RecordedRange& r) { return at < r.offset; });
  if (range != ranges.begin() &&
      offset - std::prev(range)->offset < std::prev(range)->before.size()) {
    return std::prev(range)->before[offset - std::prev(range)->offset];
  }
  return after[offset];
}

}  // namespace

bool OperationHistory::Record(const std::string& exePath, const Bytes& after,
                              RecordedChange change) {
  // Whatever stops the record (no memory, a file system that throws) is its failure, never the
  // operation's.
  try {
    return Save(exePath, after, std::move(change));
  } catch (const std::exception& error) {
    failure_ = error.what();
    return false;
  }
}

bool OperationHistory::Save(const std::string& exePath, const Bytes& after, RecordedChange change) {
  const std::vector<RecordedRange>& ranges = change.ranges;
  std::string& beforeSha256 = change.beforeSha256;
  std::string& afterSha256 = change.afterSha256;
  failure_.clear();
  notice_.clear();
  written_.clear();
  if (folder_.empty()) {
    failure_ = Tr("there is no folder for it");
    return false;
  }
  // The sums of a large executable take the longest: the one of the content before, when it
  // is not known, runs beside the other.
  std::future<std::string> beforeSum;
  if (beforeSha256.empty()) {
    const auto sum = [&] { return Sha256Before(after, ranges); };
    try {
      beforeSum = std::async(std::launch::async, sum);
    } catch (const std::system_error&) {  // no thread to be had: summed on this one
      beforeSum = std::async(std::launch::deferred, sum);
    }
  }
  if (afterSha256.empty()) {
    afterSha256 = Sha256Text(after);
  }
  if (beforeSum.valid()) {
    beforeSha256 = beforeSum.get();
  }
  // The earlier entries are copied from the record as they are: of their ranges only those
  // that tell whether the file goes on from the record are read.
  FoundHistory found = FindHistory(
      folder_, exePath, beforeSha256, after.size(),
      [&](std::uint64_t offset) { return ByteBefore(after, ranges, offset); }, false);
  if (found.kind == FoundHistory::Kind::Ambiguous) {
    // TRANSLATORS: %1 and %2 are the paths of two history records
    failure_ = TrFormat("the records %1 and %2 both fit the file, so neither is written",
                        {found.matching[0], found.matching[1]});
    return false;
  }
  if (found.kind == FoundHistory::Kind::Damaged && found.damagedCopy == found.storedAt) {
    failure_ = TrFormat(
        // TRANSLATORS: %1 is the executable's path, %2 the path of its history record
        "the history of %1 is damaged and could not be moved aside from %2, so it "
        "is not written over",
        {exePath, found.storedAt});
    return false;
  }
  HistoryRecord& record = found.record;
  const bool goesOn = found.kind == FoundHistory::Kind::Found;
  if (!goesOn) {
    record.originalSize = after.size();
    record.originalSha256 = beforeSha256;
    record.follows = found.damagedCopy;
    if (found.kind == FoundHistory::Kind::Damaged) {
      notice_ = TrFormat(
          // TRANSLATORS: %1 is the executable's path, %2 the path the damaged record is kept at
          "the history of %1 is damaged: it is kept at %2, and a new history is "
          "started",
          {exePath, found.damagedCopy});
    }
  }
  record.identity = FileIdentityText(exePath);
  std::vector<HistoryEntry>().swap(record.entries);  // the text holds them
  const HistoryEntry entry{UtcNowText(), change.kind, std::move(change.patches),
                           beforeSha256, afterSha256, std::move(change.ranges)};
  if (!SaveHistory(found.storedAt, exePath, std::move(record), goesOn ? &found.stored : nullptr,
                   entry, failure_)) {
    return false;
  }
  storedAt_ = found.storedAt;
  KeepIdentity(storedAt_, exePath);  // the file's until the rewrite replaces it
  written_ = afterSha256;
  return true;
}

std::string OperationHistory::StampedSha256(const std::string& exePath,
                                            const std::string& stamp) const {
  return folder_.empty() ? std::string() : varnock::StampedSha256(folder_, exePath, stamp);
}

void OperationHistory::Completed(const std::string& exePath, const std::string& stamp) const {
  if (!written_.empty()) {
    KeepIdentity(storedAt_, exePath);
  }
  if (!written_.empty() && !stamp.empty()) {
    KeepStamp(folder_, exePath, stamp, written_);
  }
}

PatchNote NotePatch(const std::string& patchPath, const std::optional<std::string>& argument) {
  std::string name = GetFileName(patchPath);
  if (name.starts_with("temp_") && name.find('#') != std::string::npos) {
    name.erase(0, 5);
  }
  return {name, FileSha256Text(patchPath), argument};
}

}  // namespace varnock
