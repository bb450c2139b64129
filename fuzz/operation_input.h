#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "support/bytes.h"

namespace varnock::fuzz {

// One fuzzed apply-and-remove: the user's answer to the argument prompt, a patch file and an
// executable, framed as
//   1 byte: the answer's length A; A bytes: the answer (empty: the patch takes no argument);
//   4 bytes, little-endian: the patch file's length P (cut to the bytes left); P bytes: the
//   patch file; the rest: the executable.
struct OperationInput {
  std::string answer;
  Bytes patch;
  Bytes executable;
};

OperationInput DecodeOperationInput(const std::uint8_t* data, std::size_t size);
Bytes EncodeOperationInput(const OperationInput& input);

}  // namespace varnock::fuzz
