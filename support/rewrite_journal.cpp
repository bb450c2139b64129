#include "support/rewrite_journal.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "support/checksum.h"
#include "support/files.h"
#include "support/native_file.h"
#include "support/paths.h"
#include "support/user_folders.h"

namespace varnock {

namespace {

constexpr std::string_view kMark = "VARNOCK-JOURNAL1";
constexpr const char* kBesideMark = ".varnock-journal";

void PutNumber(Bytes& out, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) {
    out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }
}

// Reads the stored fields in order; any read past the end fails all that follow.
class Reader {
 public:
  Reader(const Bytes& stored, std::size_t start, std::size_t end)
      : stored_(stored), end_(end), at_(start) {}
  bool Number(std::uint64_t& value) {
    value = 0;
    if (end_ - at_ < 8) {
      return false;
    }
    for (int i = 0; i < 8; ++i) {
      value |= static_cast<std::uint64_t>(stored_[at_++]) << (8 * i);
    }
    return true;
  }
  bool Take(std::uint64_t size, Bytes& out) {
    if (end_ - at_ < size) {
      return false;
    }
    out.assign(stored_.begin() + static_cast<long>(at_),
               stored_.begin() + static_cast<long>(at_ + size));
    at_ += static_cast<std::size_t>(size);
    return true;
  }
  bool AtEnd() const { return at_ == end_; }

 private:
  const Bytes& stored_;
  std::size_t end_;
  std::size_t at_;
};

bool DecodeRange(Reader& reader, const RewriteJournal& journal, ChangedRange& range) {
  std::uint64_t oldLength = 0;
  if (!reader.Number(range.offset) || !reader.Number(range.length) || !reader.Number(oldLength) ||
      !reader.Take(oldLength, range.old)) {
    return false;
  }
  // The old bytes lie within the old file, the new ones within the new.
  return range.offset <= journal.oldSize && oldLength <= journal.oldSize - range.offset &&
         range.offset <= journal.newSize && range.length <= journal.newSize - range.offset;
}

}  // namespace

Bytes EncodeJournal(const RewriteJournal& journal) {
  Bytes out(kMark.begin(), kMark.end());
  for (const std::uint64_t value :
       {journal.identity.volume, journal.identity.index, journal.oldSize, journal.newSize,
        journal.oldChecksum, journal.newChecksum,
        static_cast<std::uint64_t>(journal.ranges.size())}) {
    PutNumber(out, value);
  }
  for (const ChangedRange& range : journal.ranges) {
    PutNumber(out, range.offset);
    PutNumber(out, range.length);
    PutNumber(out, range.old.size());
    out.insert(out.end(), range.old.begin(), range.old.end());
  }
  PutNumber(out, ChecksumOf(out.data(), out.size()));
  return out;
}

bool DecodeJournal(const Bytes& stored, RewriteJournal& journal) {
  journal = RewriteJournal{};
  if (stored.size() < kMark.size() + 8 || !std::equal(kMark.begin(), kMark.end(), stored.begin())) {
    return false;
  }
  const std::size_t end = stored.size() - 8;
  std::uint64_t sum = 0;
  Reader(stored, end, stored.size()).Number(sum);
  if (sum != ChecksumOf(stored.data(), end)) {
    return false;
  }
  Reader reader(stored, kMark.size(), end);
  std::uint64_t count = 0;
  if (!reader.Number(journal.identity.volume) || !reader.Number(journal.identity.index) ||
      !reader.Number(journal.oldSize) || !reader.Number(journal.newSize) ||
      !reader.Number(journal.oldChecksum) || !reader.Number(journal.newChecksum) ||
      !reader.Number(count)) {
    return false;
  }
  // Each range takes at least 24 bytes: a count beyond that fails at the end of the data.
  for (std::uint64_t i = 0; i < count; ++i) {
    journal.ranges.emplace_back();
    if (!DecodeRange(reader, journal, journal.ranges.back())) {
      return false;
    }
  }
  return reader.AtEnd();
}

std::string JournalBeside(const std::string& target) {
  const std::string name = "." + GetFileName(target) + kBesideMark;
  const bool inCurrentFolder = GetFileName(target) == target;
  return inCurrentFolder ? name : JoinPath(GetParentFolder(target), name);
}

std::string UserJournalFolder(bool make) {
  const std::string data = UserDataFolder();
  if (data.empty()) {
    return {};
  }
  const std::string folder = JoinPath(data, "journals");
  if (make) {
    std::error_code error;
    std::filesystem::create_directories(ToFsPath(folder), error);
  }
  return FolderExists(folder) ? folder : std::string();
}

std::string JournalInUserFolder(const FileIdentity& identity) {
  const std::string folder = UserJournalFolder(true);
  return folder.empty() ? std::string()
                        : JoinPath(folder, "journal-" + std::to_string(identity.volume) + "-" +
                                               std::to_string(identity.index));
}

// Windows flushes a new file's name with its content; a folder cannot be flushed there.
bool WriteDurably(const std::string& path, const Bytes& content, std::string& error) {
  NativeFile file;
  if (!file.CreatePrivate(path, error) || !file.WriteAt(0, content.data(), content.size(), error) ||
      !file.Flush(error)) {
    return false;
  }
  if (!file.Close() || !FlushFolderOf(path)) {
    error = SystemErrorText(SystemError::Last);
    return false;
  }
  return true;
}

bool RemoveDurably(const std::string& path) {
  if (!RemoveEntry(path)) {
    return false;
  }
  FlushFolderOf(path);
  return true;
}

}  // namespace varnock
