#include "history/record_file.h"

#include <algorithm>

#include "support/native_file.h"
#include "support/sha256.h"
#include "support/translation.h"

namespace varnock {

namespace {

constexpr std::size_t kPiece = std::size_t{1024} * 1024;

// A new file written a piece at a time, with the SHA-256 of everything added to it.
class SummedWriter {
 public:
  bool Open(const std::string& path, std::string& error) {
    return file_.CreatePrivate(path, error);
  }
  void Add(std::string_view text) {
    sum_.Add(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    buffer_.append(text);
    if (buffer_.size() >= kPiece) {
      WriteBuffer();
    }
  }
  // Closes the text with its sum line, writes what is left and flushes the file.
  bool Finish(std::string& error) {
    buffer_.append(kHistorySumField).append(DigestText(sum_.Finish())) += '\n';
    if (WriteBuffer() && !file_.Flush(error_)) {
      failed_ = true;
    }
    if (!failed_ && !file_.Close()) {
      error_ = SystemErrorText(SystemError::Last);
      failed_ = true;
    }
    error = error_;
    return !failed_;
  }

 private:
  bool WriteBuffer() {
    const auto* data = reinterpret_cast<const std::uint8_t*>(buffer_.data());
    if (!failed_ && !file_.WriteAt(offset_, data, buffer_.size(), error_)) {
      failed_ = true;
    }
    offset_ += buffer_.size();
    buffer_.clear();
    return !failed_;
  }

  NativeFile file_;
  Sha256 sum_;
  std::string buffer_;
  std::uint64_t offset_ = 0;
  bool failed_ = false;
  std::string error_;
};

// Copies the entries of the record at `path` to `out`, checking on the way that its text is
// still the one read.
bool CopyEntries(const std::string& path, const StoredEntries& kept, SummedWriter& out,
                 std::string& error) {
  NativeFile file;
  if (!file.OpenToRead(path, error)) {
    return false;
  }
  Sha256 check;
  Bytes piece(std::min<std::uint64_t>(kPiece, kept.end));
  for (std::uint64_t at = 0; at < kept.end;) {
    const std::size_t want = std::min<std::uint64_t>(piece.size(), kept.end - at);
    std::size_t got = 0;
    if (!file.ReadAt(at, piece.data(), want, got, error)) {
      return false;
    }
    if (got != want) {
      error = TrFormat("the record %1 was cut short while it was copied", {path});
      return false;
    }
    check.Add(piece.data(), got);
    if (at + got > kept.start) {
      const std::uint64_t from = std::max(at, kept.start);
      out.Add(std::string_view(reinterpret_cast<const char*>(piece.data()) + (from - at),
                               at + got - from));
    }
    at += got;
  }
  if (DigestText(check.Finish()) != kept.sha256) {
    error = TrFormat("the record %1 was changed while it was copied", {path});
    return false;
  }
  return true;
}

}  // namespace

bool ReadLines(const std::string& path, const std::function<bool(std::string_view)>& line,
               bool& closed, std::string& error) {
  closed = true;
  NativeFile file;
  if (!file.OpenToRead(path, error)) {
    return false;
  }
  Bytes piece(kPiece);
  std::string held;  // the start of a line that goes on in the next piece
  for (std::uint64_t at = 0;;) {
    std::size_t got = 0;
    if (!file.ReadAt(at, piece.data(), piece.size(), got, error)) {
      return false;
    }
    if (got == 0) {
      break;
    }
    at += got;
    const std::string_view text(reinterpret_cast<const char*>(piece.data()), got);
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string_view::npos;
         start = end + 1) {
      const std::string_view part = text.substr(start, end - start);
      const bool taken = held.empty() ? line(part) : line(held.append(part));
      held.clear();
      if (!taken) {
        return false;
      }
    }
    held.append(text.substr(start));
  }
  closed = held.empty();
  return true;
}

bool WriteRecordFile(const std::string& path, const HistoryRecord& header,
                     const std::string& keptAt, const StoredEntries* kept,
                     const HistoryEntry& entry, std::string& error) {
  SummedWriter out;
  if (!out.Open(path, error)) {
    return false;
  }
  const TextOut add = [&out](std::string_view text) { out.Add(text); };
  EncodeHeader(header, add);
  if (kept != nullptr && !CopyEntries(keptAt, *kept, out, error)) {
    return false;
  }
  EncodeEntry(entry, add);
  return out.Finish(error);
}

}  // namespace varnock
