#include "patchfile/shared_unpack.h"

#include <cstdint>
#include <utility>

#include "patchfile/bundle_unpack.h"
#include "patchfile/unpack_record.h"
#include "support/content_sum.h"
#include "support/files.h"
#include "support/paths.h"

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

}  // namespace

SharedUnpack::SharedUnpack(std::string folder) : folder_(std::move(folder)) {}

bool SharedUnpack::Unpack(const std::string& executablePath) {
  if (!FolderExists(folder_)) {
    CreateFolder(folder_);
  }
  lock_ = std::make_unique<LockFile>(JoinPath(folder_, kLockName));
  std::int32_t count = 0;
  if (!lock_->Lock(kGuardSlot, LockFile::Mode::Exclusive, true)) {
    lock_.reset();
    return UnpackBundle(executablePath, folder_, ownFiles_, count);
  }
  const std::string recordPath = JoinPath(folder_, kRecordName);
  const UnpackRecord before = Unchanged(folder_, ReadUnpackRecord(recordPath));
  // Alone, the record is what windows that never closed left: their files are taken over.
  const bool alone = lock_->Lock(kInUseSlot, LockFile::Mode::Exclusive, false);
  UnpackRecord after = alone ? UnpackRecord() : before;
  std::vector<std::string> written;
  const bool complete =
      UnpackBundle(executablePath, folder_, written, count,
                   [&before](const std::string& name) { return before.count(name) > 0; });
  for (const std::string& file : written) {
    after[GetFileName(file)] = ContentSum(ReadWholeFile(file));
  }
  for (const auto& [name, sum] : before) {
    if (alone && after.count(name) == 0) {
      RemoveFile(JoinPath(folder_, name));
    }
  }
  WriteUnpackRecord(recordPath, after);
  lock_->Lock(kInUseSlot, LockFile::Mode::Shared, true);
  lock_->Unlock(kGuardSlot);
  return complete;
}

void SharedUnpack::Release() {
  for (const std::string& file : ownFiles_) {
    RemoveFile(file);
  }
  ownFiles_.clear();
  if (lock_ && lock_->Lock(kGuardSlot, LockFile::Mode::Exclusive, true) &&
      lock_->Lock(kInUseSlot, LockFile::Mode::Exclusive, false)) {
    const std::string recordPath = JoinPath(folder_, kRecordName);
    for (const auto& [name, sum] : Unchanged(folder_, ReadUnpackRecord(recordPath))) {
      RemoveFile(JoinPath(folder_, name));
    }
    WriteUnpackRecord(recordPath, {});
  }
  lock_.reset();
}

}  // namespace varnock
