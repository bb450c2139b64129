#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace varnock {

// How long a reader or a writer of a file waits for another program that holds it.
inline constexpr std::chrono::milliseconds kLockWait{10000};

// What one attempt at holding a file gives: held, held by another program for now, or failed
// for a reason the attempt has told.
enum class LockAttempt { Taken, Busy, Failed };

// Repeats `attempt`, with short pauses, for as long as another program holds the file and
// `deadline` has not passed; then fails with the text that says `target` is in use. Readers
// and writers wait for each other alike.
bool WaitForLock(const std::function<LockAttempt()>& attempt,
                 std::chrono::steady_clock::time_point deadline, const std::string& target,
                 std::string& error);

}  // namespace varnock
