#pragma once

#include <cstddef>

namespace varnock::bench {

// The bytes held through operator new by the whole program: this program replaces the global
// operator new and delete to count them.
std::size_t BytesInUse();
// The most bytes held at once since the last reset.
std::size_t PeakBytesInUse();
// Starts a new peak from the bytes held now.
void ResetPeakBytes();

}  // namespace varnock::bench
