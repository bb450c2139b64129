#pragma once

namespace varnock {

// The first call of every program's main, before any file is opened:
// - the standard streams are made sure to exist: one the program was started without (on
//   POSIX a closed descriptor 0, 1 or 2; on Windows an invalid standard handle) is opened on
//   the null device, so that no file opened later takes its place and receives the messages
//   meant for the console. Input is opened for writing and output for reading, so that using
//   such a stream fails as using a closed one does, and is never mistaken for a success. On
//   POSIX, where the null device cannot be opened, the end of a pipe takes its place; where
//   nothing can, the program ends at once with a message and status 1;
// - on POSIX, a write past the file size limit (ulimit -f) fails with its own error instead of
//   ending the program half-way through a rewrite.
void PrepareProcess();

}  // namespace varnock
