#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "support/bytes.h"

namespace varnock {

// The whole file, read while no writer holds it. Many readers may read at once; a writer
// (LockedFile) waits until they have finished, and a reader waits for a writer that holds the
// file, for `wait` (as long as a writer waits by default), then fails with the message two
// writers give. A file that cannot be opened fails as ReadWholeFile does, with its text.
bool ReadFileShared(const std::string& path, Bytes& content, std::string& error,
                    std::optional<std::chrono::milliseconds> wait = std::nullopt);

// The platform's side of ReadFileShared: the file held against writers while the object
// lives (a shared lock, or an opening that lets others read it only).
class ReadHold {
 public:
  ReadHold();
  ~ReadHold();
  ReadHold(const ReadHold&) = delete;
  ReadHold& operator=(const ReadHold&) = delete;

  // Holds the file at `path`, waiting for a writer until `deadline`. A file that cannot be
  // opened is not held, and that is no failure here: the read that follows tells why.
  bool Take(const std::string& path, std::chrono::steady_clock::time_point deadline,
            std::string& error);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace varnock
