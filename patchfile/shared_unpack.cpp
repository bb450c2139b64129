#include "patchfile/shared_unpack.h"

#include <cstdint>
#include <utility>

#include "patchfile/bundle_unpack.h"
#include "patchfile/unpack_record.h"
#include "support/files.h"
#include "support/lock_wait.h"
#include "support/paths.h"
#include "support/sha256.h"

namespace varnock {

namespace {

constexpr int kGuardSlot = 0;  // exclusive while the record is read or changed
constexpr int kInUseSlot = 1;  // shared by every running window

// The recorded files still as unpacked; the others are the user's now, changed or gone.
UnpackRecord Unchanged(const std::string& folder, const UnpackRecord& record) {
  UnpackRecord unchanged;
  for (const auto& [name, sum] : record) {
    if (IsAsUnpacked(folder, name, sum)) {
      unchanged[name] = sum;
    }
  }
  return unchanged;
}

// Locks `slot` in `mode`, waiting for the other windows no longer than readers and writers of
// a file wait for each other: false when the folder takes no locks, or when a window stopped
// (suspended, or in a debugger) keeps the slot past that time.
bool Hold(LockFile& lock, int slot, LockFile::Mode mode) {
  std::string error;
  return WaitForLock([&] { return lock.Lock(slot, mode); },
                     std::chrono::steady_clock::now() + kLockWait, SharedUnpack::kLockName, error);
}

}  // namespace

SharedUnpack::SharedUnpack(std::string folder) : folder_(std::move(folder)) {}

bool SharedUnpack::Unpack(const std::string& executablePath) {
  if (!FolderExists(folder_)) {
    CreateFolder(folder_);
  }
  lock_ = std::make_unique<LockFile>(JoinPath(folder_, kLockName));
  if (!Hold(*lock_, kGuardSlot, LockFile::Mode::Exclusive)) {
    lock_.reset();
    return UnpackBundle(executablePath, folder_, ownFiles_);
  }
  const std::string recordPath = JoinPath(folder_, kRecordName);
  const UnpackRecord before = Unchanged(folder_, ReadUnpackRecord(recordPath));
  // Alone, the record is what windows that never closed left: their files are taken over.
  const bool alone = lock_->Lock(kInUseSlot, LockFile::Mode::Exclusive) == LockAttempt::Taken;
  UnpackRecord after = alone ? UnpackRecord() : before;
  std::vector<std::string> written;
  const bool complete =
      UnpackBundle(executablePath, folder_, written,
                   [&before](const std::string& name) { return before.count(name) > 0; });
  for (const std::string& file : written) {
    after[GetFileName(file)] = Sha256Text(ReadWholeFile(file));
  }
  for (const auto& [name, sum] : before) {
    if (alone && after.count(name) == 0) {
      RemoveFile(JoinPath(folder_, name));
    }
  }
  if (!WriteUnpackRecord(recordPath, after)) {
    // Unrecorded (a full disk), the new files would pass for the user's and stay for good: they
    // are this window's own, deleted when it closes. Those other windows use stay recorded.
    for (const std::string& file : written) {
      if (alone || before.count(GetFileName(file)) == 0) {
        ownFiles_.push_back(file);
      }
    }
  }
  Hold(*lock_, kInUseSlot, LockFile::Mode::Shared);
  lock_->Unlock(kGuardSlot);
  return complete;
}

void SharedUnpack::Release() {
  for (const std::string& file : ownFiles_) {
    RemoveFile(file);
  }
  ownFiles_.clear();
  // Where the guard stays held past the wait, the recorded files stay for a later start to take
  // over.
  if (lock_ && Hold(*lock_, kGuardSlot, LockFile::Mode::Exclusive) &&
      lock_->Lock(kInUseSlot, LockFile::Mode::Exclusive) == LockAttempt::Taken) {
    const std::string recordPath = JoinPath(folder_, kRecordName);
    for (const auto& [name, sum] : Unchanged(folder_, ReadUnpackRecord(recordPath))) {
      RemoveFile(JoinPath(folder_, name));
    }
    WriteUnpackRecord(recordPath, {});
  }
  lock_.reset();
}

}  // namespace varnock
