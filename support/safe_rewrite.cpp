#include "support/safe_rewrite.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "support/files.h"
#include "support/interrupt_cleanup.h"
#include "support/native_file.h"
#include "support/paths.h"
#include "support/rewrite_journal.h"
#include "support/temporary_file.h"
#include "support/translation.h"
#include "support/write_in_place.h"

namespace varnock {

namespace {

std::string ChangedText(const std::string& target) {
  return TrFormat("the file was changed by another program while it was being patched: %1",
                  {target});
}

// The file's path as the journal names it: with the system's own separators alone, so that
// its folder and name are found whichever separators it was given with.
std::string JournalTarget(const std::string& target) {
  return FromFsPath(ToFsPath(target).make_preferred());
}

std::string TimeText(const FileTime& time) {
  return std::to_string(time.seconds) + "." + std::to_string(time.nanoseconds);
}

// A journal beside the file, or any in the per-user folder: a look that costs a few calls.
bool JournalMayBeThere(const std::string& path) {
  const std::string folder = UserJournalFolder(false);
  std::error_code error;
  const std::filesystem::path target = std::filesystem::canonical(ToFsPath(path), error);
  if (error) {
    return false;  // the opening that follows says why
  }
  return FileExists(JournalBeside(FromFsPath(target))) ||
         (!folder.empty() && !std::filesystem::is_empty(ToFsPath(folder), error) && !error);
}

}  // namespace

struct LockedFile::State {
  std::string target;
  NativeFile file;
  // Why the file cannot be written, when it was opened for reading only.
  std::string writeError;
  // The file as it was opened, read or last written.
  FileState seen;
  // Whether `seen` tells every later write apart (see LockedFile::Stamp).
  bool stampable = true;
  InterruptedWrite interrupted;

  bool Hold(const std::string& path, std::chrono::steady_clock::time_point deadline,
            std::string& error);
  bool StillTheSame() const;
  // The steps of a rewrite: the file's own, then a test's, before the file changes.
  struct Replace {
    const BeforeReplace& durableFirst;
    const WriteFaults& faults;
    bool Ready(const std::string& temporaryPath, std::string& error) const;
  };
  bool ReplaceThroughTemporary(const Bytes& content, const Replace& replace, bool& inPlace,
                               std::string& error);
  bool WriteInPlace(const Bytes& content, const Replace& replace, std::string& error);
};

// Waits until no other writer holds the file, then holds it.
bool LockedFile::State::Hold(const std::string& path,
                             std::chrono::steady_clock::time_point deadline, std::string& error) {
  for (;;) {
    if (!ResolveTarget(path, target, error)) {
      return false;
    }
    bool again = false;
    const auto attempt = [&] {
      const LockAttempt result = file.OpenHeld(target, again, writeError, error);
      again = true;
      return result;
    };
    if (!WaitForLock(attempt, deadline, target, error) || !file.Describe(seen, error)) {
      return false;
    }
    // Another writer may have put a new file in place while this one waited for the old one.
    FileIdentity named;
    if (IdentityOfName(target, named) && named == seen.identity) {
      return true;
    }
    file.Close();
  }
}

// The name still leads to the file held, and nobody changed it.
bool LockedFile::State::StillTheSame() const {
  FileState now;
  FileIdentity named;
  std::string ignored;
  return file.Describe(now, ignored) && now.Unchanged(seen) && IdentityOfName(target, named) &&
         named == seen.identity;
}

bool LockedFile::State::Replace::Ready(const std::string& temporaryPath, std::string& error) const {
  if (durableFirst && !durableFirst(error)) {
    return false;
  }
  if (faults.before_replace) {
    faults.before_replace(temporaryPath);
  }
  return true;
}

LockedFile::LockedFile() = default;
LockedFile::LockedFile(WriteFaults faults) : faults_(std::move(faults)) {}
LockedFile::~LockedFile() = default;

bool LockedFile::Open(const std::string& path, std::string& error) {
  error.clear();
  state_ = std::make_unique<State>();
  const auto wait = faults_.wait.value_or(kLockWait);
  if (path.empty() || path.find('\0') != std::string::npos) {
    error = SystemErrorText(SystemError::NotFound);
    state_.reset();
    return false;
  }
  if (!state_->Hold(path, std::chrono::steady_clock::now() + wait, error) ||
      !RollBackInterruptedWrite(state_->file, JournalTarget(state_->target),
                                state_->writeError.empty(), state_->interrupted, error)) {
    state_.reset();
    return false;
  }
  std::string ignored;
  state_->file.Describe(state_->seen, ignored);
  RemoveStaleTemporaries(state_->target);
  return true;
}

// A system that keeps no change time cannot tell a write that puts the times back.
std::string LockedFile::Stamp() const {
  if (!state_ || !state_->stampable || state_->seen.changed == FileTime{}) {
    return {};
  }
  const FileState& seen = state_->seen;
  return std::to_string(seen.identity.volume) + ":" + std::to_string(seen.identity.index) + ":" +
         std::to_string(seen.size) + ":" + TimeText(seen.written) + ":" + TimeText(seen.changed);
}

const InterruptedWrite& LockedFile::Interrupted() const {
  static const InterruptedWrite kNothing;
  return state_ ? state_->interrupted : kNothing;
}

bool LockedFile::Read(Bytes& content, std::string& error) {
  content.clear();
  error.clear();
  if (!state_) {
    error = SystemErrorText(SystemError::BadHandle);
    return false;
  }
  Bytes buffer(static_cast<std::size_t>(state_->seen.size));
  std::size_t got = 0;
  std::uint8_t beyond = 0;
  std::size_t extra = 0;
  if (!state_->file.ReadAt(0, buffer.data(), buffer.size(), got, error) ||
      !state_->file.ReadAt(buffer.size(), &beyond, 1, extra, error)) {
    return false;
  }
  // Shorter or longer than when it was opened: another program writes it right now.
  if (got != buffer.size() || extra != 0 || !state_->StillTheSame()) {
    error = ChangedText(state_->target);
    return false;
  }
  content = std::move(buffer);
  return true;
}

bool LockedFile::Rewrite(const Bytes& content, std::string& error) {
  return Rewrite(content, BeforeReplace(), error);
}

bool LockedFile::Rewrite(const Bytes& content, const BeforeReplace& beforeReplace,
                         std::string& error) {
  error.clear();
  if (!state_) {
    error = SystemErrorText(SystemError::BadHandle);
    return false;
  }
  if (!state_->writeError.empty() || state_->seen.readOnly) {
    error = state_->writeError.empty() ? SystemErrorText(SystemError::AccessDenied)
                                       : state_->writeError;
    return false;
  }
  if (!state_->StillTheSame()) {
    error = ChangedText(state_->target);
    return false;
  }
  if (!WithinSizeLimit(std::max<std::uint64_t>(content.size(), state_->seen.size), state_->target,
                       error)) {
    return false;
  }
  const State::Replace replace{beforeReplace, faults_};
  bool inPlace = state_->seen.links > 1;
  if (!inPlace && !state_->ReplaceThroughTemporary(content, replace, inPlace, error)) {
    return false;
  }
  return !inPlace || state_->WriteInPlace(content, replace, error);
}

bool LockedFile::State::ReplaceThroughTemporary(const Bytes& content, const Replace& replace,
                                                bool& inPlace, std::string& error) {
  NativeFile temporary;
  std::string path;
  bool refused = false;
  if (!CreateTemporary(target, temporary, path, refused, error)) {
    // A folder that takes no new files: the file itself is written.
    inPlace = refused;
    if (refused) {
      error.clear();
    }
    return refused;
  }
  RemovedOnInterrupt removed(path);
  const auto discard = [&] {
    temporary.RemoveAndClose(path);
    removed.Release();
  };
  // What the replacement cannot carry over (another user's ownership, an attribute this user
  // may not set) is kept by writing the file itself instead.
  if (!KeepOwnership(file, temporary)) {
    discard();
    inPlace = true;
    return true;
  }
  if (!WriteSpan(temporary, content, 0, content.size(), replace.faults, error) ||
      !temporary.Flush(error) || !KeepPermissions(temporary, path, seen, error)) {
    discard();
    return false;
  }
  FileState written;
  std::string ignored;
  temporary.Describe(written, ignored);
  if (!replace.Ready(path, error)) {
    discard();
    return false;
  }
  if (!StillTheSame()) {
    error = ChangedText(target);
    discard();
    return false;
  }
  if (!ReplaceWithTemporary(path, target, error)) {
    discard();
    return false;
  }
  removed.Release();
  // From now on the new file is the one held: it was locked before it took the name.
  file = std::move(temporary);
  file.Describe(seen, ignored);
  // The move keeps the time of the last write and sets a later change time: a write after
  // it, even one that puts the times back, leaves other times. When the last write and the
  // move fell in one tick of the clock, or the file is not as it was written, the times
  // cannot tell.
  stampable =
      seen.size == written.size && seen.written == written.written && seen.written < seen.changed;
  return true;
}

// The content was verified in memory before; the file is written where it differs, under a
// journal of its old bytes.
bool LockedFile::State::WriteInPlace(const Bytes& content, const Replace& replace,
                                     std::string& error) {
  if (!replace.Ready(std::string(), error)) {
    return false;
  }
  const InterruptionsHeld held;
  if (!StillTheSame()) {
    error = ChangedText(target);
    return false;
  }
  stampable = false;  // its last write and its times are one
  if (!varnock::WriteInPlace(file, JournalTarget(target), content, replace.faults, error)) {
    return false;
  }
  std::string ignored;
  file.Describe(seen, ignored);
  return true;
}

bool RestoreInterruptedWrite(const std::string& path, InterruptedWrite& found, std::string& error) {
  found = InterruptedWrite{};
  error.clear();
  if (!JournalMayBeThere(path)) {
    return true;
  }
  LockedFile file;
  if (!file.Open(path, error)) {
    return false;
  }
  found = file.Interrupted();
  return true;
}

bool RewriteFile(const std::string& path, const Bytes& content, std::string& error) {
  error.clear();
  LockedFile file;
  return file.Open(path, error) && file.Rewrite(content, error);
}

}  // namespace varnock
