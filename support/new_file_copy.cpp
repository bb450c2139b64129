#include "support/new_file_copy.h"

#include <algorithm>
#include <fstream>
#include <utility>
#include <vector>

#include "support/files.h"

namespace varnock {

namespace {

constexpr std::size_t kChunk = 1 << 16;

bool CopyContent(const NativeFile& from, NativeFile& to, std::string& error) {
  Bytes buffer(kChunk);
  std::uint64_t offset = 0;
  for (;;) {
    std::size_t got = 0;
    if (!from.ReadAt(offset, buffer.data(), buffer.size(), got, error)) {
      return false;
    }
    if (got == 0) {
      return true;
    }
    if (!to.WriteAt(offset, buffer.data(), got, error)) {
      return false;
    }
    offset += got;
  }
}

NewCopy Failure(bool taken) {
  return taken ? NewCopy::Taken : NewCopy::Failed;
}

}  // namespace

NewCopy HeldCopy::Make(const std::string& source, const std::string& destination,
                       std::string& error) {
  error.clear();
  NativeFile from;
  if (!from.OpenToRead(source, error)) {
    return NewCopy::Failed;
  }
  NativeFile to;
  bool taken = false;
  {
    // Made and registered for removal as one step: an interruption that comes between the two
    // waits until the copy is registered, and then removes it.
    const InterruptionsHeld held;
    if (to.CreateNew(destination, taken, error)) {
      removed_.emplace(destination);
    }
  }
  if (!to.IsOpen()) {
    return Failure(taken);
  }
  if (!CopyContent(from, to, error)) {
    to.RemoveAndClose(destination);
    removed_.reset();
    return NewCopy::Failed;
  }
  path_ = destination;
  file_ = std::move(to);
  return NewCopy::Made;
}

void HeldCopy::Remove() {
  if (!path_.empty()) {
    file_.RemoveAndClose(path_);
    path_.clear();
  }
  removed_.reset();
  file_.Close();
}

NewCopy WriteNewFile(const std::string& path, const Bytes& content, std::string& error) {
  error.clear();
  NativeFile to;
  bool taken = false;
  if (!to.CreateNew(path, taken, error)) {
    return Failure(taken);
  }
  bool written = to.WriteAt(0, content.data(), content.size(), error);
  if (!to.Close() && written) {
    error = SystemErrorText(SystemError::Last);
    written = false;
  }
  if (!written) {
    RemoveEntry(path);
    return NewCopy::Failed;
  }
  return NewCopy::Made;
}

// True when the file at `path` holds at least one byte and is `source` or the start of it.
bool HoldsStartOf(const std::string& path, const std::string& source) {
  std::ifstream copy(ToFsPath(path), std::ios::binary);
  std::ifstream original(ToFsPath(source), std::ios::binary);
  std::vector<char> a(1 << 16);
  std::vector<char> b(1 << 16);
  std::streamsize total = 0;
  while (copy && original) {
    copy.read(a.data(), static_cast<std::streamsize>(a.size()));
    const std::streamsize got = copy.gcount();
    original.read(b.data(), got);
    if (original.gcount() != got || !std::equal(a.begin(), a.begin() + got, b.begin())) {
      return false;
    }
    total += got;
  }
  return total > 0 && copy.eof();
}

}  // namespace varnock
