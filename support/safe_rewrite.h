#pragma once

#include <functional>
#include <memory>
#include <string>

#include "support/bytes.h"
#include "support/write_faults.h"

namespace varnock {

// What the opening of a file found of a write in place that was interrupted (see LockedFile).
struct InterruptedWrite {
  std::string notice;    // what the user is told; empty when there was nothing to do
  bool refused = false;  // a journal was found that could not be used
};

// An existing file held for one read-verify-rewrite. Every holder of a file excludes the
// others (another run of this program waits until the first has finished, then sees its
// result), and the content is replaced only when no other program changed the file since it
// was opened or read: a change made meanwhile is never undone, and never reported as done.
//
// The rewrite is crash-safe: the new content is written to a hidden temporary file in the same
// folder, flushed, and moved over the file, so that at every moment the file holds either all
// its old bytes or all its new ones. The file keeps its permissions, owner, extended
// attributes and access control lists, and a symbolic link is followed, not replaced. Where
// the move cannot keep them (a file owned by another user, a file with several names, a
// folder that takes no new files), the verified content is written over the file itself,
// flushed and read back instead, with a journal of its old bytes kept until it is done. The
// temporary file goes when the program is interrupted, and one left by a program that was
// killed goes with the next operation on the same file; a journal left by a write in place that
// was killed puts the old bytes back when the file is next opened.
class LockedFile {
 public:
  LockedFile();
  explicit LockedFile(WriteFaults faults);
  ~LockedFile();
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;

  // Opens the file at `path` and waits until no other writer holds it. On failure returns
  // false with the platform's description (or the program's own) in `error`.
  bool Open(const std::string& path, std::string& error);
  // What Open found of an interrupted write in place and did about it.
  const InterruptedWrite& Interrupted() const;
  // The whole content; fails when the file changes while it is read.
  bool Read(Bytes& content, std::string& error);
  // Replaces the whole content, once per opening. A file that may not be written, or that
  // changed since it was opened, is refused and left untouched.
  bool Rewrite(const Bytes& content, std::string& error);
  // What must be durable before the file changes (the record of the change): run once the new
  // content is flushed to its temporary file, or before the first byte is written where the file
  // is written in place. When it returns false, with its reason in `error`, the file is left
  // untouched.
  using BeforeReplace = std::function<bool(std::string& error)>;
  bool Rewrite(const Bytes& content, const BeforeReplace& beforeReplace, std::string& error);
  // The file's identity, size and times as it was opened, read or rewritten, as a text: while
  // the file shows the same text again, nobody wrote it, for every write and every change of
  // its times leaves a new change time that no program can set. Empty when the times cannot
  // tell (after a rewrite in place, or one whose last byte was written in the same tick of the
  // file system's clock as its move, or where the system keeps no change time).
  std::string Stamp() const;

 private:
  struct State;
  WriteFaults faults_;
  std::unique_ptr<State> state_;
};

// Puts back the file at `path` when a write in place of it was interrupted, as the opening of
// a LockedFile does; quickly does nothing when no journal can be there. False when the file
// cannot be opened for it, or a journal that fits it cannot be applied.
bool RestoreInterruptedWrite(const std::string& path, InterruptedWrite& found, std::string& error);

// Opens, holds and rewrites the file at `path` in one step (see LockedFile).
bool RewriteFile(const std::string& path, const Bytes& content, std::string& error);

}  // namespace varnock
