#include "support/write_in_place.h"

#include <algorithm>
#include <cstring>

#include "support/checksum.h"
#include "support/files.h"
#include "support/interrupt_cleanup.h"
#include "support/paths.h"
#include "support/translation.h"
#include "support/user_folders.h"

namespace varnock {

namespace {

constexpr std::size_t kChunk = 1 << 20;
// Changed bytes closer than this share one range: a few equal bytes cost less than a record.
constexpr std::uint64_t kJoinedGap = 64;

std::uint64_t EndOf(const ChangedRange& range) {
  return range.offset + std::max<std::uint64_t>(range.length, range.old.size());
}

// A chunk of the file's old bytes: `got` of them, read from `offset`.
struct OldChunk {
  const std::uint8_t* bytes;
  std::uint64_t offset;
  std::size_t got;
};

// Adds the file bytes [from, to) to the ranges, joined to the last one when close enough; the
// file's old bytes there are in `chunk`, the new content is `newSize` bytes long.
void AddRun(std::vector<ChangedRange>& ranges, std::uint64_t from, std::uint64_t to,
            const OldChunk& chunk, std::uint64_t newSize) {
  const std::uint8_t* old = chunk.bytes;
  const std::uint64_t offset = chunk.offset;
  const std::size_t got = chunk.got;
  if (ranges.empty() || EndOf(ranges.back()) < offset || from - EndOf(ranges.back()) > kJoinedGap) {
    ranges.push_back({from, 0, {}});
  }
  ChangedRange& range = ranges.back();
  // Old bytes stop at the old end, which may lie in an earlier chunk.
  const std::uint64_t oldFrom = std::max<std::uint64_t>(range.offset + range.old.size(), offset);
  const std::uint64_t oldTo = std::min<std::uint64_t>(to, offset + got);
  if (oldTo > oldFrom) {
    range.old.insert(range.old.end(), old + (oldFrom - offset), old + (oldTo - offset));
  }
  range.length = std::min(to, newSize) > range.offset ? std::min(to, newSize) - range.offset : 0;
}

// Where, from `at` on, the two runs of `size` bytes first differ (`size` when nowhere): equal
// blocks are passed a block at a time.
std::size_t FirstDifference(const std::uint8_t* a, const std::uint8_t* b, std::size_t at,
                            std::size_t size) {
  constexpr std::size_t kBlock = 64;
  while (at + kBlock <= size && std::memcmp(a + at, b + at, kBlock) == 0) {
    at += kBlock;
  }
  while (at < size && a[at] == b[at]) {
    ++at;
  }
  return at;
}

// The runs of one chunk where the old bytes (`got` read at `offset`) and the new differ; past
// the end of either, every byte differs.
void AddChangedRuns(std::vector<ChangedRange>& ranges, const std::uint8_t* old, std::size_t got,
                    std::size_t size, std::uint64_t offset, const Bytes& content) {
  const std::size_t inBoth =
      std::min<std::size_t>(got, content.size() > offset ? content.size() - offset : 0);
  const std::uint8_t* now = content.data() + offset;
  for (std::size_t at = FirstDifference(old, now, 0, inBoth); at < size;) {
    std::size_t end = at + 1;
    while (end < inBoth && old[end] != now[end]) {
      ++end;
    }
    end = end >= inBoth ? size : end;  // a run that reaches the end of either goes on to size
    AddRun(ranges, offset + at, offset + end, {old, offset, got}, content.size());
    at = end < size ? FirstDifference(old, now, end, inBoth) : size;
  }
}

// Compares the file with `content`: the ranges that change, with their old bytes, and the
// checksums of the whole old and new content.
bool PlanWrite(NativeFile& file, const Bytes& content, RewriteJournal& journal,
               std::string& error) {
  FileState state;
  if (!file.Describe(state, error)) {
    return false;
  }
  journal.identity = state.identity;
  journal.oldSize = state.size;
  journal.newSize = content.size();
  journal.newChecksum = ChecksumOf(content.data(), content.size());
  Checksum oldSum;
  Bytes chunk(kChunk);
  const std::uint64_t end = std::max(journal.oldSize, journal.newSize);
  for (std::uint64_t offset = 0; offset < end; offset += kChunk) {
    const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, end - offset));
    std::size_t got = 0;
    if (!file.ReadAt(offset, chunk.data(), size, got, error)) {
      return false;
    }
    oldSum.Add(chunk.data(), got);
    AddChangedRuns(journal.ranges, chunk.data(), got, size, offset, content);
  }
  journal.oldChecksum = oldSum.Value();
  return true;
}

// The journal goes beside the file, else to the per-user folder; a journal already beside it
// that did not fit the file is left there.
bool KeepJournal(const std::string& target, const RewriteJournal& journal, std::string& path,
                 std::string& error) {
  const Bytes stored = EncodeJournal(journal);
  const std::string beside = JournalBeside(target);
  std::string failure;
  const std::string folder = GetFileName(beside) == beside ? "." : GetParentFolder(beside);
  if (CanCreateFilesIn(folder) && !EntryExists(beside) && WriteDurably(beside, stored, failure)) {
    path = beside;
    return true;
  }
  path = JournalInUserFolder(journal.identity);
  if (!path.empty() && WriteDurably(path, stored, failure)) {
    return true;
  }
  RemoveDurably(path);
  error = TrFormat(
      // TRANSLATORS: %1 is why the journal could not be written, %2 the file's path
      "the journal that makes the write safe could not be written (%1); the file was not "
      "changed: %2",
      {failure.empty() ? std::string(Tr("no folder takes it")) : failure, target});
  return false;
}

bool WriteRanges(NativeFile& file, const Bytes& content, const RewriteJournal& journal,
                 const WriteFaults& faults, std::string& error) {
  for (const ChangedRange& range : journal.ranges) {
    if (!WriteSpan(file, content, range.offset, range.offset + range.length, faults, error)) {
      return false;
    }
  }
  return true;
}

bool ReadsBack(NativeFile& file, const Bytes& content, const RewriteJournal& journal,
               const std::string& target, std::string& error) {
  Bytes chunk(kChunk);
  for (const ChangedRange& range : journal.ranges) {
    for (std::uint64_t at = range.offset; at < range.offset + range.length; at += kChunk) {
      const auto size = static_cast<std::size_t>(
          std::min<std::uint64_t>(kChunk, range.offset + range.length - at));
      std::size_t got = 0;
      if (!file.ReadAt(at, chunk.data(), size, got, error) || got != size ||
          std::memcmp(chunk.data(), content.data() + at, size) != 0) {
        error = TrFormat("the file did not read back as it was written: %1", {target});
        return false;
      }
    }
  }
  return true;
}

// Puts the old bytes and length back and flushes them.
bool PutBack(NativeFile& file, const RewriteJournal& journal, std::string& error) {
  for (const ChangedRange& range : journal.ranges) {
    if (!file.WriteAt(range.offset, range.old.data(), range.old.size(), error)) {
      return false;
    }
  }
  return file.Resize(journal.oldSize, error) && file.Flush(error);
}

// Whether putting the journal's old bytes back gives the old content it recorded: then the
// file is the one written, and nobody changed it since but the interrupted write.
bool Fits(NativeFile& file, const RewriteJournal& journal, std::uint64_t size) {
  if (size < std::min(journal.oldSize, journal.newSize) ||
      size > std::max(journal.oldSize, journal.newSize)) {
    return false;
  }
  Checksum sum;
  Bytes chunk(kChunk);
  std::string ignored;
  for (std::uint64_t offset = 0; offset < journal.oldSize; offset += kChunk) {
    const auto count =
        static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, journal.oldSize - offset));
    std::fill(chunk.begin(), chunk.end(), 0);
    std::size_t got = 0;
    if (!file.ReadAt(offset, chunk.data(), count, got, ignored)) {
      return false;
    }
    for (const ChangedRange& range : journal.ranges) {
      const std::uint64_t from = std::max(offset, range.offset);
      const std::uint64_t to = std::min(offset + count, range.offset + range.old.size());
      if (from < to) {
        std::memcpy(chunk.data() + (from - offset), range.old.data() + (from - range.offset),
                    static_cast<std::size_t>(to - from));
      }
    }
    sum.Add(chunk.data(), count);
  }
  return sum.Value() == journal.oldChecksum;
}

void Tell(InterruptedWrite& found, const std::string& text, bool refused) {
  found.notice += (found.notice.empty() ? "" : "\r\n") + text;
  found.refused = found.refused || refused;
}

// The file a journal may be for, held: its path, its state as opened, and whether it may be
// written.
struct HeldTarget {
  NativeFile& file;
  const std::string& target;
  const FileState& state;
  bool writable;
};

bool UseJournal(const HeldTarget& held, const std::string& path, InterruptedWrite& found,
                std::string& error) {
  NativeFile& file = held.file;
  const std::string& target = held.target;
  Bytes stored;
  RewriteJournal journal;
  if (!ReadWholeFile(path, stored, error)) {
    // It may hold the only copy of the old bytes: the file is not used until it is read.
    // TRANSLATORS: %1 is the journal's path, %2 the path of the file it is for, %3 the reason
    error = TrFormat("the journal %1 of an interrupted write of %2 cannot be read: %3",
                     {path, target, error});
    return false;
  }
  if (!DecodeJournal(stored, journal)) {
    // Cut short while it was written (the file was not touched then), or damaged.
    RemoveDurably(path);
    Tell(found,
         // TRANSLATORS: %1 is the journal's path, %2 the path of the file it is for
         TrFormat("the journal %1 is incomplete or damaged: it was not used and was removed; %2 "
                  "was left as it is",
                  {path, target}),
         true);
    return true;
  }
  if (journal.identity != held.state.identity || !Fits(file, journal, held.state.size)) {
    Tell(found,
         // TRANSLATORS: %1 is the journal's path, %2 the path of the file it is for
         TrFormat("the journal %1 does not fit %2 as it is now: it was not used and was left in "
                  "place; the file was left as it is",
                  {path, target}),
         true);
    return true;
  }
  const InterruptionsHeld uninterrupted;
  if (!held.writable || !PutBack(file, journal, error)) {
    if (error.empty()) {
      error = TrFormat("%1 was left half written by an interrupted write and could not be restored",
                       {target});
    } else {
      error =
          // TRANSLATORS: %1 is the file's path, %2 the reason
          TrFormat("%1 was left half written by an interrupted write and could not be restored: %2",
                   {target, error});
    }
    return false;
  }
  RemoveDurably(path);
  Tell(found, TrFormat("%1 was restored to its state before an interrupted write", {target}),
       false);
  return true;
}

}  // namespace

bool WriteSpan(NativeFile& file, const Bytes& content, std::uint64_t from, std::uint64_t to,
               const WriteFaults& faults, std::string& error) {
  for (std::uint64_t at = from; at < to; at += kChunk) {
    const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, to - at));
    if (faults.allow_write && !faults.allow_write(at, size)) {
      error = SystemErrorText(SystemError::DiskFull);
      return false;
    }
    if (!file.WriteAt(at, content.data() + at, size, error)) {
      return false;
    }
  }
  return true;
}

bool WriteInPlace(NativeFile& file, const std::string& target, const Bytes& content,
                  const WriteFaults& faults, std::string& error) {
  RewriteJournal journal;
  if (!PlanWrite(file, content, journal, error)) {
    return false;
  }
  if (journal.ranges.empty() && journal.oldSize == journal.newSize) {
    return true;  // nothing differs
  }
  std::string journalPath;
  if (!KeepJournal(target, journal, journalPath, error)) {
    return false;
  }
  if (WriteRanges(file, content, journal, faults, error) && file.Resize(content.size(), error) &&
      file.Flush(error) && ReadsBack(file, content, journal, target, error)) {
    RemoveDurably(journalPath);
    return true;
  }
  std::string ignored;
  if (PutBack(file, journal, ignored)) {
    RemoveDurably(journalPath);
  } else {
    error = TrFormat(
        // TRANSLATORS: %1 is why the write failed, %2 the file's path
        "%1; the old content could not be put back yet, the next operation on the file puts it "
        "back: %2",
        {error, target});
  }
  return false;
}

bool RollBackInterruptedWrite(NativeFile& file, const std::string& target, bool writable,
                              InterruptedWrite& found, std::string& error) {
  found = InterruptedWrite{};
  FileState state;
  if (!file.Describe(state, error)) {
    return false;
  }
  const std::string folder = UserJournalFolder(false);
  const std::string inUserFolder =
      folder.empty() ? std::string() : JournalInUserFolder(state.identity);
  for (const std::string& path : {JournalBeside(target), inUserFolder}) {
    if (!path.empty() && FileExists(path) &&
        !UseJournal({file, target, state, writable}, path, found, error)) {
      return false;
    }
  }
  return true;
}

}  // namespace varnock
