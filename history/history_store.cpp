#include "history/history_store.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "history/record_file.h"
#include "support/files.h"
#include "support/native_file.h"
#include "support/paths.h"
#include "support/resolved_path.h"
#include "support/sha256.h"
#include "support/user_folders.h"

namespace varnock {

namespace {

constexpr const char* kExtension = ".history";
constexpr const char* kStampHeader = "varnock-stamp\t1\n";

std::string StampPathFor(const std::string& folder, const std::string& exePath) {
  std::string path = HistoryPathFor(folder, exePath);
  return path.replace(path.size() - std::strlen(kExtension), std::string::npos, ".stamp");
}

// The path with every link followed, where the file can be reached; as the system resolves it
// otherwise.
std::string FollowedPath(const std::string& exePath) {
  std::error_code error;
  const std::filesystem::path canonical = std::filesystem::canonical(ToFsPath(exePath), error);
  return error ? ResolvedPath(exePath) : FromFsPath(canonical);
}

std::string IdentityPathFor(const std::string& storedAt) {
  return storedAt.substr(0, storedAt.size() - std::strlen(kExtension)) + ".identity";
}

// The identity of the file after Varnock's last write recorded at `storedAt`; empty when none
// is kept.
std::string KeptIdentity(const std::string& storedAt) {
  Bytes content;
  std::string error;
  if (!ReadWholeFile(IdentityPathFor(storedAt), content, error) || content.empty() ||
      content.back() != '\n') {
    return {};
  }
  return std::string(content.begin(), content.end() - 1);
}

// The content goes on from the record (see FindHistory); a record without ranges says
// nothing against it.
bool GoesOn(const HistoryRecord& record, std::uint64_t size, const ContentProbe& byteAt) {
  if (size != record.originalSize) {
    return false;
  }
  for (auto entry = record.entries.rbegin(); entry != record.entries.rend(); ++entry) {
    std::uint64_t count = 0;
    std::uint64_t held = 0;
    for (const RecordedRange& range : entry->ranges) {
      for (std::size_t i = 0; i < range.before.size(); ++i) {
        const std::uint8_t byte = byteAt(range.offset + i);
        held += byte == range.before[i] || byte == range.after[i] ? 1 : 0;
      }
      count += range.before.size();
    }
    if (count > 0) {
      return held * 2 >= count;
    }
  }
  return true;
}

bool InLastState(const HistoryRecord& record, const std::string& sha256) {
  return !record.entries.empty() && record.entries.back().after == sha256;
}

enum class Read { Missing, Whole, Damaged };

// Reads the record at `path` a line at a time (see HistoryReader), with what a new entry
// needs of its text in `stored`.
Read ReadRecord(const std::string& path, HistoryRecord& record, bool allRanges,
                StoredEntries* stored = nullptr) {
  std::error_code missing;
  if (!std::filesystem::exists(ToFsPath(path), missing)) {
    return Read::Missing;
  }
  HistoryReader reader(allRanges);
  bool closed = false;
  std::string error;
  const bool read = ReadLines(
      path, [&](std::string_view line) { return reader.Line(line); }, closed, error);
  return read && reader.Finish(closed, record, stored) ? Read::Whole : Read::Damaged;
}

// Moves a damaged record to a name of its own beside it, never over another; returns where it
// lies now (where it was when it cannot be moved).
std::string MoveAside(const std::string& path) {
  for (int n = 1;; ++n) {
    const std::string aside = path + ".damaged" + (n == 1 ? "" : "-" + std::to_string(n));
    std::error_code taken;
    if (std::filesystem::exists(ToFsPath(aside), taken)) {
      continue;
    }
    std::error_code moved;
    std::filesystem::rename(ToFsPath(path), ToFsPath(aside), moved);
    return moved ? path : aside;
  }
}

// The damaged copy kept of the record at `path`, if any: the one moved aside last.
std::string DamagedCopyOf(const std::string& path) {
  std::string last;
  for (int n = 1;; ++n) {
    const std::string aside = path + ".damaged" + (n == 1 ? "" : "-" + std::to_string(n));
    std::error_code taken;
    if (!std::filesystem::exists(ToFsPath(aside), taken)) {
      return last;
    }
    last = aside;
  }
}

// A name for a new record of the executable whose first name `path` holds another file's
// record.
std::string FreeNameFor(const std::string& path) {
  const std::string stem = path.substr(0, path.size() - std::strlen(kExtension));
  for (int n = 2;; ++n) {
    std::string name = stem + "-" + std::to_string(n) + kExtension;
    std::error_code taken;
    if (!std::filesystem::exists(ToFsPath(name), taken) &&
        !std::filesystem::exists(ToFsPath(name + ".damaged"), taken)) {
      return name;
    }
  }
}

}  // namespace

std::string HistoryFolder() {
  const std::string data = UserDataFolder();
  return data.empty() ? std::string() : JoinPath(data, "history");
}

std::string HistoryPathFor(const std::string& folder, const std::string& exePath) {
  const std::string path = FollowedPath(exePath);
  const Bytes text(path.begin(), path.end());
  return JoinPath(folder, Sha256Text(text) + kExtension);
}

std::string FileIdentityText(const std::string& exePath) {
  FileIdentity identity;
  return IdentityOfName(exePath, identity)
             ? std::to_string(identity.volume) + ":" + std::to_string(identity.index)
             : std::string();
}

FoundHistory FindHistory(const std::string& folder, const std::string& exePath,
                         const std::string& currentSha256, std::uint64_t size,
                         const ContentProbe& byteAt, bool allRanges) {
  FoundHistory found;
  const std::string identity = FileIdentityText(exePath);
  const auto isTheFile = [&](const std::string& path, const HistoryRecord& record) {
    const std::string kept = KeptIdentity(path);
    return !identity.empty() && identity == (kept.empty() ? record.identity : kept);
  };
  const std::string own = HistoryPathFor(folder, exePath);
  const Read read = ReadRecord(own, found.record, allRanges, &found.stored);
  if (read == Read::Damaged) {
    found.kind = FoundHistory::Kind::Damaged;
    found.damagedCopy = MoveAside(own);
    found.storedAt = own;
    return found;
  }
  // The file at the record's own path keeps its identity when another build is copied over it
  // in place: only its content tells that it goes on from the record.
  if (read == Read::Whole &&
      (InLastState(found.record, currentSha256) ||
       (!found.record.entries.empty() && found.record.entries.back().before == currentSha256) ||
       GoesOn(found.record, size, byteAt))) {
    found.kind = FoundHistory::Kind::Found;
    found.storedAt = own;
    return found;
  }
  // Another name of the file (a hard link, a bind mount, a move), or a copy in its last state.
  std::error_code error;
  bool byIdentity = false;
  for (std::filesystem::directory_iterator it(ToFsPath(folder), error), end; !error && it != end;
       it.increment(error)) {
    const std::string path = FromFsPath(it->path());
    HistoryRecord record;
    StoredEntries stored;
    if (path == own || !path.ends_with(kExtension) ||
        ReadRecord(path, record, allRanges, &stored) != Read::Whole) {
      continue;
    }
    // A record of the file itself comes before one of a copy in the same state.
    const bool itself = isTheFile(path, record) && GoesOn(record, size, byteAt);
    if (itself && !byIdentity) {
      byIdentity = true;
      found.matching.clear();
    }
    // A content that is the original's matches nothing: every untouched copy would.
    const bool copy = InLastState(record, currentSha256) && currentSha256 != record.originalSha256;
    if (itself || (!byIdentity && copy)) {
      found.matching.push_back(path);
      found.record = std::move(record);
      found.stored = stored;
      found.storedAt = path;
    }
  }
  if (found.matching.size() == 1) {
    found.kind = FoundHistory::Kind::Found;
    return found;
  }
  if (found.matching.size() > 1) {
    found.kind = FoundHistory::Kind::Ambiguous;
    found.record = HistoryRecord{};
    return found;
  }
  found.record = HistoryRecord{};
  found.storedAt = read == Read::Whole ? FreeNameFor(own) : own;
  if (read == Read::Missing) {
    found.damagedCopy = DamagedCopyOf(own);
    found.kind = found.damagedCopy.empty() ? FoundHistory::Kind::None : FoundHistory::Kind::Damaged;
  }
  return found;
}

bool SaveHistory(const std::string& storedAt, const std::string& exePath, HistoryRecord header,
                 const StoredEntries* kept, const HistoryEntry& entry, std::string& error) {
  header.path = FollowedPath(exePath);
  std::error_code made;
  std::filesystem::create_directories(ToFsPath(storedAt).parent_path(), made);
  const std::string fresh = storedAt + ".new";
  if (!WriteRecordFile(fresh, header, storedAt, kept, entry, error)) {
    RemoveFile(fresh);
    return false;
  }
  std::error_code moved;
  std::filesystem::rename(ToFsPath(fresh), ToFsPath(storedAt), moved);
  if (moved) {
    error = ErrorText(moved);
    RemoveFile(fresh);
    return false;
  }
  FlushFolderOf(storedAt);  // the move itself made durable
  return true;
}

void KeepIdentity(const std::string& storedAt, const std::string& exePath) {
  const std::string path = IdentityPathFor(storedAt);
  {
    std::ofstream out(ToFsPath(path + ".new"), std::ios::binary | std::ios::trunc);
    out << FileIdentityText(exePath) << '\n';
  }
  std::error_code moved;
  std::filesystem::rename(ToFsPath(path + ".new"), ToFsPath(path), moved);
}

void KeepStamp(const std::string& folder, const std::string& exePath, const std::string& stamp,
               const std::string& sha256) {
  const std::string path = StampPathFor(folder, exePath);
  const std::string fresh = path + ".new";
  {
    std::ofstream out(ToFsPath(fresh), std::ios::binary | std::ios::trunc);
    out << kStampHeader << stamp << '\t' << sha256 << '\n';
    if (!out.flush()) {
      out.close();
      RemoveFile(fresh);
      return;
    }
  }
  std::error_code moved;
  std::filesystem::rename(ToFsPath(fresh), ToFsPath(path), moved);
}

std::string StampedSha256(const std::string& folder, const std::string& exePath,
                          const std::string& stamp) {
  Bytes content;
  std::string error;
  if (stamp.empty() || !ReadWholeFile(StampPathFor(folder, exePath), content, error)) {
    return {};
  }
  const std::string expected = kStampHeader + stamp + '\t';
  const std::string text(content.begin(), content.end());
  constexpr std::size_t kDigits = 64;
  const bool kept = text.size() == expected.size() + kDigits + 1 && text.starts_with(expected) &&
                    text.back() == '\n';
  return kept ? text.substr(expected.size(), kDigits) : std::string();
}

}  // namespace varnock
