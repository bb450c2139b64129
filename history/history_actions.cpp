#include "history/history_actions.h"

#include <algorithm>

#include "history/operation_history.h"
#include "history/recorded_rewrite.h"
#include "history/shown_entry.h"
#include "support/hex_text.h"
#include "support/sha256.h"
#include "support/translation.h"

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
  const std::string text = TrFormat(
      // TRANSLATORS: %1 is a number of bytes, %2 their offsets in the file ("0x1A2B, 0x1A2C")
      "%1 of the bytes Varnock changed were changed by another program too, at %2: a restore "
      "gives them their original values back",
      {std::to_string(count), offsets + (count > 8 ? ", ..." : "")});
  return "\n" + text;
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
  const std::string text = TrFormat(
      // TRANSLATORS: %1 is a list of offsets and offset ranges in the file ("0x10, 0x20-0x2F")
      "The original of the bytes at %1 is not known (Varnock first recorded them after another "
      "program changed the file): they are left as they are",
      {spans + (view.unknown.size() > 8 ? ", ..." : "")});
  return "\n" + text;
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
  if (history.Failure().empty()) {
    // TRANSLATORS: %1 is the executable's path, %2 the reason
    outcome.message = TrFormat("ERROR: %1 cannot be written: %2", {request.exePath, error});
  } else {
    outcome.message =
        // TRANSLATORS: %1 is the executable's path, %2 the reason
        TrFormat("ERROR: the history of %1 cannot be written, so nothing was written: %2",
                 {request.exePath, history.Failure()});
  }
  return false;
}

}  // namespace

bool OpenHistory(const std::string& exePath, const std::string& folder, OpenedHistory& opened,
                 std::string& error) {
  std::string reason;
  if (!opened.file.Open(exePath, reason) || !opened.file.Read(opened.image, reason)) {
    error = TrFormat("ERROR: %1: %2", {exePath, reason});
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
      // TRANSLATORS: %1 is the executable's path, %2 the path of the damaged record
      error = TrFormat("ERROR: the history of %1 is damaged: the damaged record is kept at %2",
                       {exePath, opened.found.damagedCopy});
      return false;
    case FoundHistory::Kind::Ambiguous:
      // TRANSLATORS: %1 is the executable's path, %2 and %3 the paths of two history records
      error = TrFormat("ERROR: two histories fit %1: %2 and %3; nothing was written",
                       {exePath, opened.found.matching[0], opened.found.matching[1]});
      return false;
    case FoundHistory::Kind::None:
      break;
  }
  error = TrFormat("ERROR: no history is kept for %1", {exePath});
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
    if (record.entries.empty()) {
      outcome.message = TrFormat(
          // TRANSLATORS: %1 is the executable's path, %2 the path of the damaged record
          "ERROR: the history of %1 is damaged (kept at %2), so its original is not known; nothing "
          "was written",
          {exePath, record.follows});
    } else {
      outcome.message = TrFormat(
          // TRANSLATORS: %1 is the executable's path, %2 the time of its first recorded change,
          // %3 the path of the damaged record
          "ERROR: the history of %1 before %2 is damaged (kept at %3), so its original is not "
          "known; nothing was written",
          {exePath, ShownTime(record.entries.front().time), record.follows});
    }
    return outcome;
  }
  if (opened.image.size() != opened.view.originalSize) {
    outcome.message =
        TrFormat("ERROR: %1 is no longer the size of its original (%2 bytes); nothing was written",
                 {exePath, std::to_string(opened.view.originalSize)});
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
        TrFormat(
            // TRANSLATORS: %1 is the executable's path, %2 the number of bytes Varnock changed
            "ERROR: %1 would still differ from its original: another program changed bytes "
            "outside the %2 that Varnock changed, and of those Varnock keeps only the "
            "original's SHA-256, so it cannot tell which or how many",
            {exePath, std::to_string(RecordedBytes(opened.view))}) +
        ChangedInRecord(opened) + unknown + "\n" + Tr("Nothing was written");
    outcome.forceable = opened.view.unbroken;
    return outcome;
  }
  if (!original && !opened.view.unbroken) {
    outcome.message = TrFormat(
                          "ERROR: another program changed %1 between Varnock's changes, so "
                          "the originals of the bytes Varnock changed since are not known",
                          {exePath}) +
                      unknown + "\n" + Tr("Nothing was written");
    return outcome;
  }
  outcome.ok = true;
  outcome.confirmed = original;
  if (back.empty()) {
    outcome.message =
        original ? TrFormat("%1 is the original already", {exePath})
                 : TrFormat(
                       "%1 has Varnock's recorded original bytes already; the bytes another "
                       "program changed outside them are left as they are",
                       {exePath}) +
                       unknown;
    return outcome;
  }
  if (run == RestoreRun::Check) {
    outcome.message = original
                          ? TrFormat("%1 would be restored to the original", {exePath})
                          : TrFormat(
                                "%1 would get Varnock's recorded original bytes back; the bytes "
                                "another program changed outside them are left as they are",
                                {exePath}) +
                                unknown;
    return outcome;
  }
  const std::string done =
      original ? TrFormat("%1 restored to the original", {exePath})
               : TrFormat(
                     "%1: Varnock's recorded original bytes written back; the bytes another "
                     "program changed outside them are left as they are",
                     {exePath}) +
                     unknown;
  outcome.ok =
      Write(opened, request,
            {.ranges = std::move(back), .kind = "restore", .afterSha256 = restoredSha}, outcome);
  outcome.confirmed = outcome.ok && original;
  if (outcome.ok) {
    outcome.message = done;
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
    outcome.message = TrFormat("ERROR: there is no change of %1 to undo", {exePath});
    return outcome;
  }
  const HistoryEntry& last = opened.found.record.entries[*opened.view.undoable];
  if (last.after != opened.sha256) {
    outcome.message = TrFormat(
        // TRANSLATORS: %1 is the executable's path, %2 the operation as the history names it
        // (apply, remove, batch, restore, undo), %3 its time
        "ERROR: %1 was changed by another program since the last %2 (%3); nothing was written",
        {exePath, OperationText(last.kind), ShownTime(last.time)});
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
    outcome.message =
        // TRANSLATORS: %1 is the operation as the history names it (apply, remove, batch, restore,
        // undo), %2 its time, %3 the executable's path
        TrFormat("ERROR: the record of the last %1 (%2) does not fit %3; nothing was written",
                 {OperationText(last.kind), ShownTime(last.time), exePath});
    return outcome;
  }
  const std::string kind = OperationText(last.kind);
  const std::string time = ShownTime(last.time);
  const std::string before = last.before;
  outcome.ok = Write(opened, request,
                     {.ranges = std::move(ranges), .kind = "undo", .afterSha256 = before}, outcome);
  outcome.confirmed = outcome.ok;
  if (outcome.ok) {
    // TRANSLATORS: %1 is the executable's path, %2 the operation as the history names it
    // (apply, remove, batch, restore, undo), %3 its time
    outcome.message = TrFormat("%1: the %2 of %3 was undone", {exePath, kind, time});
  }
  return outcome;
}

}  // namespace varnock
