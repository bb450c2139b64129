#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include "support/process_start.h"

namespace varnock {

void PrepareProcess() {
  for (int standard = 0; standard <= 2; ++standard) {
    if (::fcntl(standard, F_GETFD) != -1) {
      continue;
    }
    // The lowest free descriptor is the closed one; a descriptor opened the wrong way round
    // (written to for input, read from for output) fails as a closed one would.
    const int opened = ::open("/dev/null", standard == 0 ? O_WRONLY : O_RDONLY);
    if (opened != standard && opened >= 0) {
      ::close(opened);
    }
  }
  ::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace varnock
