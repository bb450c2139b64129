#include "history/history_actions.h"

#include <algorithm>

#include "history/operation_history.h"
#include "history/recorded_rewrite.h"
#include "support/hex_text.h"
#include "support/sha256.h"

namespace varnock {

namespace {

bool Holds(const Bytes& image, std::uint64_t offset, const Bytes& bytes) {
  return offset <= image.size() && bytes.size() <= image.size() - offset &&
         std::equal(bytes.begin(), bytes.end(), image.begin() + static_cast<long>(offset));
}

// The bytes of Varnock's ranges that do not hold what Varnock last wrote there: another
// program's changes that can be told apart.
std::string ChangedInRecord(const OpenedHistory& opened) {
  ByteRuns lastWritten;
  const auto& entries = opened.found.record.entries;
  for (std::size_t i = entries.size(); i-- > 0;) {
    for (const RecordedRange& range : entries[i].ranges) {
      if (opened.view.states[i] != EntryState::Unused) {
        KeepFirstValues(lastWritten, {range.offset, range.after, {}});
      }
    }
  }
  std::size_t count = 0;
  std::string offsets;
  for (const auto& [offset, bytes] : lastWritten) {
    for (std::uint64_t at = offset; at < offset + bytes.size() && at < opened.image.size(); ++at) {
      if (bytes[at - offset] != opened.image[at] && ++count <= 8) {
        offsets += (count > 1 ? ", " : "") + HexOffset(at);
      }
    }
  }
  if (count == 0) {
    return {};
  }
  return "\n" + std::to_string(count) + " of the bytes Varnock changed were changed by another " +
         "program too, at " + offsets + (count > 8 ? ", ..." : "") +
         ": a restore gives them their original values back";
}

// The ranges whose original is not known, named; empty when there are none.
std::string UnknownText(const HistoryView& view) {
  if (view.unknown.empty()) {
    return {};
  }
  std::string spans;
  for (std::size_t i = 0; i < view.unknown.size() && i < 8; ++i) {
    const OffsetSpan& span = view.unknown[i];
    spans += (i > 0 ? ", " : "") + HexOffset(span.offset) +
             (span.end - span.offset > 1 ? "-" + HexOffset(span.end - 1) : "");
  }
  return "\nThe original of the bytes at " + spans + (view.unknown.size() > 8 ? ", ..." : "") +
         " is not known (Varnock first recorded them after another program changed the file): "
         "they are left as they are";
}

std::uint64_t RecordedBytes(const HistoryView& view) {
  std::uint64_t count = 0;
  for (const auto& [offset, bytes] : view.originals) {
    count += bytes.size();
  }
  return count;
}

// Writes the ranges of `change` (in rising order, inside the image; their `before` bytes) into
// the image, when the result's SHA-256 is `change.afterSha256`, summed over exactly the bytes
// written. Nothing is written unless its record is.
bool Write(OpenedHistory& opened, const HistoryRequest& request, RecordedChange change,
           HistoryOutcome& outcome) {
  for (RecordedRange& range : change.ranges) {
    std::copy(range.before.begin(), range.before.end(),
              opened.image.begin() + static_cast<long>(range.offset));
    std::swap(range.before, range.after);  // the record holds what was there and what is now
  }
  change.beforeSha256 = opened.sha256;
  change.need = RecordedChange::Need::Required;
  OperationHistory history(request.folder);
  std::string error;
  if (RecordedRewrite(opened.file, request.exePath, opened.image, history, std::move(change),
                      error)) {
    return true;
  }
  outcome.message = history.Failure().empty()
                        ? "ERROR: " + request.exePath + " cannot be written: " + error
                        : "ERROR: the history of " + request.exePath +
                              " cannot be written, so nothing was written: " + history.Failure();
  return false;
}

}  // namespace

bool OpenHistory(const std::string& exePath, const std::string& folder, OpenedHistory& opened,
                 std::string& error) {
  std::string reason;
  if (!opened.file.Open(exePath, reason) || !opened.file.Read(opened.image, reason)) {
    error = "ERROR: " + exePath + ": " + reason;
    return false;
  }
  opened.sha256 = Sha256Text(opened.image);
  if (!folder.empty()) {
    opened.found = FindHistory(folder, exePath, opened.sha256, opened.image.size(),
                               [&](std::uint64_t offset) { return opened.image[offset]; });
  }
  switch (opened.found.kind) {
    case FoundHistory::Kind::Found:
      opened.view = ViewHistory(opened.found.record, opened.sha256);
      return true;
    case FoundHistory::Kind::Damaged:
      error = "ERROR: the history of " + exePath + " is damaged: the damaged record is kept at " +
              opened.found.damagedCopy;
      return false;
    case FoundHistory::Kind::Ambiguous:
      error = "ERROR: two histories fit " + exePath + ": " + opened.found.matching[0] + " and " +
              opened.found.matching[1] + "; nothing was written";
      return false;
    case FoundHistory::Kind::None:
      break;
  }
  error = "ERROR: no history is kept for " + exePath;
  return false;
}

HistoryOutcome RestoreOriginal(const HistoryRequest& request, RestoreRun run, RestoreReach reach) {
  const std::string& exePath = request.exePath;
  HistoryOutcome outcome;
  OpenedHistory opened(request.faults);
  if (!OpenHistory(exePath, request.folder, opened, outcome.message)) {
    return outcome;
  }
  const HistoryRecord& record = opened.found.record;
  if (!record.follows.empty()) {
    const std::string before =
        record.entries.empty() ? std::string() : " before " + record.entries.front().time;
    outcome.message = "ERROR: the history of " + exePath + before + " is damaged (kept at " +
                      record.follows + "), so its original is not known; nothing was written";
    return outcome;
  }
  if (opened.image.size() != opened.view.originalSize) {
    outcome.message = "ERROR: " + exePath + " is no longer the size of its original (" +
                      std::to_string(opened.view.originalSize) + " bytes); nothing was written";
    return outcome;
  }
  // Where the file differs from the known originals: the original bytes, and the file's now.
  std::vector<RecordedRange> back = ChangedRanges(opened.view.originals, opened.image);
  const std::string restoredSha = back.empty() ? opened.sha256 : Sha256Before(opened.image, back);
  const bool original = restoredSha == opened.view.originalSha256;
  const std::string unknown = UnknownText(opened.view);
  if (!original && reach != RestoreReach::Force) {
    // The original is known only by its SHA-256 outside the bytes Varnock changed: which
    // bytes differ there, and how many, cannot be told.
    outcome.message =
        "ERROR: " + exePath + " would still differ from its original: another program changed " +
        "bytes outside the " + std::to_string(RecordedBytes(opened.view)) +
        " that Varnock changed, and of those Varnock keeps only the original's SHA-256, so it " +
        "cannot tell which or how many" + ChangedInRecord(opened) + unknown +
        "\nNothing was written";
    outcome.forceable = opened.view.unbroken;
    return outcome;
  }
  if (!original && !opened.view.unbroken) {
    outcome.message = "ERROR: another program changed " + exePath +
                      " between Varnock's changes, so the originals of the bytes Varnock "
                      "changed since are not known" +
                      unknown + "\nNothing was written";
    return outcome;
  }
  const std::string others =
      original ? "" : "; the bytes another program changed outside them are left as they are";
  outcome.ok = true;
  outcome.confirmed = original;
  if (back.empty()) {
    outcome.message = exePath +
                      (original ? " is the original already"
                                : " has Varnock's recorded original bytes already" + others) +
                      (original ? "" : unknown);
    return outcome;
  }
  if (run == RestoreRun::Check) {
    outcome.message = exePath + (original ? " would be restored to the original"
                                          : " would get Varnock's recorded original bytes back" +
                                                others + unknown);
    return outcome;
  }
  const std::string done =
      original ? " restored to the original"
               : ": Varnock's recorded original bytes written back" + others + unknown;
  outcome.ok =
      Write(opened, request,
            {.ranges = std::move(back), .kind = "restore", .afterSha256 = restoredSha}, outcome);
  outcome.confirmed = outcome.ok && original;
  if (outcome.ok) {
    outcome.message = exePath + done;
  }
  return outcome;
}

HistoryOutcome UndoLast(const HistoryRequest& request) {
  const std::string& exePath = request.exePath;
  HistoryOutcome outcome;
  OpenedHistory opened(request.faults);
  if (!OpenHistory(exePath, request.folder, opened, outcome.message)) {
    return outcome;
  }
  if (!opened.view.undoable) {
    outcome.message = "ERROR: there is no change of " + exePath + " to undo";
    return outcome;
  }
  const HistoryEntry& last = opened.found.record.entries[*opened.view.undoable];
  if (last.after != opened.sha256) {
    outcome.message = "ERROR: " + exePath + " was changed by another program since the last " +
                      last.kind + " (" + last.time + "); nothing was written";
    return outcome;
  }
  // The file holds the entry's new bytes in every range, and giving them back their old ones
  // gives the content the entry began from.
  std::vector<RecordedRange> ranges;
  for (const RecordedRange& range : last.ranges) {
    if (!Holds(opened.image, range.offset, range.after)) {
      ranges.clear();
      break;
    }
    ranges.push_back({range.offset, range.before, range.after});
  }
  if (ranges.size() != last.ranges.size() || Sha256Before(opened.image, ranges) != last.before) {
    outcome.message = "ERROR: the record of the last " + last.kind + " (" + last.time +
                      ") does not fit " + exePath + "; nothing was written";
    return outcome;
  }
  const std::string what = last.kind + " of " + last.time;
  const std::string before = last.before;
  outcome.ok = Write(opened, request,
                     {.ranges = std::move(ranges), .kind = "undo", .afterSha256 = before}, outcome);
  outcome.confirmed = outcome.ok;
  if (outcome.ok) {
    outcome.message = exePath + ": the " + what + " was undone";
  }
  return outcome;
}

}  // namespace varnock
