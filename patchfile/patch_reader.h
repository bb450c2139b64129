#pragma once

#include <cstdint>
#include <fstream>
#include <span>
#include <string>

#include "support/bytes.h"
#include "support/sha256.h"
#include "support/translation.h"

namespace varnock {

// Reads the fields of a .ptc file in order and never past its end: every count is checked
// against the bytes left in the file before anything is sized by it, so a damaged or hostile
// file fails quickly instead of exhausting memory. The first failure is kept with its
// description; later reads after it fail too.
class PatchReader {
 public:
  explicit PatchReader(const std::string& path);

  bool ReadInt32(std::int32_t& value);
  // Resizes `bytes` to `count` and fills it; fails without resizing when fewer bytes are left.
  bool ReadBytes(std::int64_t count, Bytes& bytes);
  // Fills `room` from the file; fails when fewer bytes are left.
  bool ReadInto(std::span<std::uint8_t> room);
  // True when at least `count` bytes are left; otherwise records the early end.
  bool Holds(std::int64_t count);
  std::int64_t Remaining() const { return remaining_; }

  // Adds every byte read from now on to `sum`, which outlives the reader's reads.
  void SumInto(Sha256& sum) { sum_ = &sum; }
  // Reads the bytes the fields left (a file may hold more than its patch) into the sum, so
  // that it is the sum of the whole file; false when they cannot be read.
  bool SumRest();

  // Records a failure with the text that follows "Error mexage: " (empty allowed).
  bool Fail(const std::string& description);
  bool Failed() const { return failed_; }
  const std::string& Error() const { return error_; }

 private:
  void Summed(const void* data, std::int64_t count);

  std::ifstream in_;
  std::int64_t remaining_ = 0;
  Sha256* sum_ = nullptr;
  bool failed_ = false;
  std::string error_;
};

// The description of a file that ends before all of its fields were read.
inline constexpr const char* kPatchEndsEarly = TrNoop("the file ends before the patch does");

// Reads one string (int32 count of 16-bit units, then the units) into `destination`. Each unit
// is one byte of the ANSI code page; a negative count or a unit above 255 fails with an empty
// description, and `destination` then holds what was appended before the failure. Reports
// nothing itself.
bool ReadPatchString(std::string& destination, PatchReader& reader);

}  // namespace varnock
