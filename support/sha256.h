#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "support/bytes.h"

namespace varnock {

using Sha256Digest = std::array<std::uint8_t, 32>;

// SHA-256 of a run of bytes fed in pieces of any size, computed by the system's own library
// (libcrypto on Linux, BCrypt on Windows).
class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  void Add(const std::uint8_t* data, std::size_t size);
  // The digest of everything added; the object is not used again after it.
  Sha256Digest Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

Sha256Digest Sha256Of(const std::uint8_t* data, std::size_t size);
// The digest as 64 lower-case hexadecimal digits.
std::string DigestText(const Sha256Digest& digest);
// The text of the digest of `content`, and of the file at `path` (empty when it cannot be read).
std::string Sha256Text(const Bytes& content);
std::string FileSha256Text(const std::string& path);

}  // namespace varnock
