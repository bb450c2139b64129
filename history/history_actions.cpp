#include "history/history_actions.h"

#include <sstream>

#include "history/history_store.h"
#include "history/history_view.h"
#include "history/operation_history.h"
#include "support/sha256.h"

namespace varnock {

namespace {

// The executable held against other writers, read, and the history found for its content.
struct Opened {
  LockedFile file;
  Bytes image;
  std::string sha256;
  HistoryRecord record;
  HistoryView view;
};

// False with the outcome to return when the file cannot be read or has no history.
bool Open(const std::string& exePath, const std::string& folder, const RewriteHooks* hooks,
          Opened& opened, HistoryOutcome& outcome) {
  std::string error;
  if (!opened.file.Open(exePath, error, hooks) || !opened.file.Read(opened.image, error)) {
    outcome.message = "ERROR: " + exePath + ": " + error;
    return false;
  }
  opened.sha256 = Sha256Text(opened.image);
  if (folder.empty() || !FindHistory(folder, exePath, opened.sha256, opened.record)) {
    outcome.message = "ERROR: no history is kept for " + exePath;
    return false;
  }
  opened.view = ViewHistory(opened.record, opened.sha256);
  return true;
}

std::string Hex(std::uint64_t value) {
  std::ostringstream text;
  text << "0x" << std::uppercase << std::hex << value;
  return text.str();
}

// The bytes of Varnock's ranges that do not hold what Varnock last wrote there: another
// program's changes that can be told apart.
std::string ChangedInRecord(const Opened& opened) {
  Bytes expected = opened.image;
  const auto& entries = opened.record.entries;
  for (std::size_t i = opened.view.first; i < entries.size(); ++i) {
    for (const RecordedRange& range : entries[i].ranges) {
      if (opened.view.states[i] != EntryState::Unused &&
          range.offset + range.after.size() <= expected.size()) {
        std::copy(range.after.begin(), range.after.end(),
                  expected.begin() + static_cast<long>(range.offset));
      }
    }
  }
  std::size_t count = 0;
  std::string offsets;
  for (const auto& [offset, bytes] : opened.view.originals) {
    for (std::uint64_t at = offset; at < offset + bytes.size() && at < expected.size(); ++at) {
      if (expected[at] != opened.image[at] && ++count <= 8) {
        offsets += (count > 1 ? ", " : "") + Hex(at);
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

std::uint64_t RecordedBytes(const HistoryView& view) {
  std::uint64_t count = 0;
  for (const auto& [offset, bytes] : view.originals) {
    count += bytes.size();
  }
  return count;
}

// Rewrites the executable with `image` after the history records it as `kind`.
bool Write(Opened& opened, const std::string& exePath, const std::string& folder,
           const Bytes& image, const std::string& kind, const RewriteHooks* hooks,
           HistoryOutcome& outcome) {
  OperationHistory history(folder);
  if (!history.Record(exePath, image, ChangedRanges(opened.image, image), kind, {},
                      opened.sha256)) {
    outcome.message = "ERROR: the history of " + exePath +
                      " cannot be written, so nothing was written: " + history.Failure();
    return false;
  }
  std::string error;
  if (!opened.file.Rewrite(image, error, hooks)) {
    outcome.message = "ERROR: " + exePath + " cannot be written: " + error;
    return false;
  }
  history.Completed(exePath, opened.file.Stamp());
  return true;
}

}  // namespace

HistoryOutcome RestoreOriginal(const std::string& exePath, const std::string& folder, bool check,
                               bool force, const RewriteHooks* hooks) {
  HistoryOutcome outcome;
  Opened opened;
  if (!Open(exePath, folder, hooks, opened, outcome)) {
    return outcome;
  }
  if (opened.image.size() != opened.view.originalSize) {
    outcome.message = "ERROR: " + exePath + " is no longer the size of its original (" +
                      std::to_string(opened.view.originalSize) + " bytes); nothing was written";
    return outcome;
  }
  Bytes restored = opened.image;
  for (const auto& [offset, bytes] : opened.view.originals) {
    std::copy(bytes.begin(), bytes.end(), restored.begin() + static_cast<long>(offset));
  }
  const bool original = Sha256Text(restored) == opened.view.originalSha256;
  if (!original && !force) {
    // The original is known only by its SHA-256 outside the bytes Varnock changed: which
    // bytes differ there, and how many, cannot be told.
    outcome.message =
        "ERROR: " + exePath + " would still differ from its original: another program changed " +
        "bytes outside the " + std::to_string(RecordedBytes(opened.view)) +
        " that Varnock changed, and of those Varnock keeps only the original's SHA-256, so it " +
        "cannot tell which or how many" + ChangedInRecord(opened) + "\nNothing was written";
    outcome.forceable = true;
    return outcome;
  }
  const std::string others =
      original ? "" : "; the bytes another program changed outside them are left as they are";
  outcome.ok = true;
  if (restored == opened.image) {
    outcome.message =
        exePath + (original ? " is the original already"
                            : " has Varnock's recorded original bytes already" + others);
    return outcome;
  }
  if (check) {
    outcome.message =
        exePath + (original ? " would be restored to the original"
                            : " would get Varnock's recorded original bytes back" + others);
    return outcome;
  }
  const std::string done = original ? " restored to the original"
                                    : ": Varnock's recorded original bytes written back" + others;
  outcome.ok = Write(opened, exePath, folder, restored, "restore", hooks, outcome);
  if (outcome.ok) {
    outcome.message = exePath + done;
  }
  return outcome;
}

HistoryOutcome UndoLast(const std::string& exePath, const std::string& folder,
                        const RewriteHooks* hooks) {
  HistoryOutcome outcome;
  Opened opened;
  if (!Open(exePath, folder, hooks, opened, outcome)) {
    return outcome;
  }
  if (!opened.view.undoable) {
    outcome.message = "ERROR: there is no change of " + exePath + " to undo";
    return outcome;
  }
  const HistoryEntry& last = opened.record.entries[*opened.view.undoable];
  if (last.after != opened.sha256) {
    outcome.message = "ERROR: " + exePath + " was changed by another program since the last " +
                      last.kind + " (" + last.time + "); nothing was written";
    return outcome;
  }
  Bytes undone = opened.image;
  for (const RecordedRange& range : last.ranges) {
    std::copy(range.before.begin(), range.before.end(),
              undone.begin() + static_cast<long>(range.offset));
  }
  const std::string what = last.kind + " of " + last.time;
  outcome.ok = Write(opened, exePath, folder, undone, "undo", hooks, outcome);
  if (outcome.ok) {
    outcome.message = exePath + ": the " + what + " was undone";
  }
  return outcome;
}

}  // namespace varnock
