#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "support/rewrite_journal.h"

namespace varnock {

// What a write in place and its journal need of the file being rewritten, held open and
// locked: the system's own calls, given by the platform half of the safe rewrite. A failure
// gives the platform's description in `error`.
class HeldFile {
 public:
  virtual ~HeldFile() = default;

  // Reads up to `size` bytes at `offset`; `got` is smaller at the end of the file.
  virtual bool ReadAt(std::uint64_t offset, std::uint8_t* data, std::size_t size, std::size_t& got,
                      std::string& error) = 0;
  virtual bool WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size,
                       std::string& error) = 0;
  // Cuts the file, or lengthens it, to `size` bytes.
  virtual bool Resize(std::uint64_t size, std::string& error) = 0;
  // Makes what was written durable.
  virtual bool Flush(std::string& error) = 0;
  virtual bool Describe(FileIdentity& identity, std::uint64_t& size, std::string& error) = 0;
  // The platform's description of a full disk.
  virtual std::string DiskFullText() const = 0;
};

}  // namespace varnock
