#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "support/process_start.h"
#include "support/translation.h"

namespace varnock {

namespace {

// Moves the descriptor `opened` to `standard`; the descriptor there, or -1.
int Placed(int opened, int standard) {
  if (opened < 0 || opened == standard) {
    return opened;
  }
  const int placed = ::dup2(opened, standard);
  ::close(opened);
  return placed;
}

// Opens `standard` the wrong way round (written to for input, read from for output), so that
// using it fails as using a closed one would: the null device, or where it cannot be opened
// (a confined process) the end of a pipe whose other end is closed.
bool OpenInPlace(int standard) {
  const bool input = standard == 0;
  if (Placed(::open("/dev/null", input ? O_WRONLY : O_RDONLY), standard) == standard) {
    return true;
  }
  int ends[2] = {-1, -1};
  if (::pipe(ends) != 0) {
    return false;
  }
  ::close(ends[input ? 0 : 1]);
  return Placed(ends[input ? 1 : 0], standard) == standard;
}

// Ends the program before it opens anything: the next file opened would take the closed
// stream's place and receive what is meant for it.
[[noreturn]] void EndForClosed(int standard) {
  const std::string message =
      // TRANSLATORS: %1 is the number of a standard stream (0 input, 1 output, 2 errors)
      TrFormat("ERROR: the standard stream %1 is closed and nothing can be opened in its place",
               {std::to_string(standard)}) +
      "\n";
  if (::write(2, message.data(), message.size()) < 0) {
    static_cast<void>(::write(1, message.data(), message.size()));
  }
  std::_Exit(1);
}

}  // namespace

void PrepareProcess() {
  for (int standard = 0; standard <= 2; ++standard) {
    if (::fcntl(standard, F_GETFD) == -1 && !OpenInPlace(standard)) {
      EndForClosed(standard);
    }
  }
  ::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace varnock
