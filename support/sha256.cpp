#include "support/sha256.h"

#include <fstream>
#include <memory>

#include "support/files.h"

namespace varnock {

Sha256Digest Sha256Of(const std::uint8_t* data, std::size_t size) {
  Sha256 sum;
  sum.Add(data, size);
  return sum.Finish();
}

std::string DigestText(const Sha256Digest& digest) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(digest.size() * 2);
  for (const std::uint8_t byte : digest) {
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 15]);
  }
  return text;
}

std::string Sha256Text(const Bytes& content) {
  return DigestText(Sha256Of(content.data(), content.size()));
}

std::string FileSha256Text(const std::string& path) {
  std::ifstream in(ToFsPath(path), std::ios::binary);
  if (!in) {
    return {};
  }
  Sha256 sum;
  // Pieces of 64 KiB, left unfilled until read: a small file costs no zeroed megabyte.
  constexpr std::size_t kPiece = 1 << 16;
  const auto buffer = std::make_unique_for_overwrite<char[]>(kPiece);
  while (in) {
    in.read(buffer.get(), static_cast<std::streamsize>(kPiece));
    sum.Add(reinterpret_cast<const std::uint8_t*>(buffer.get()),
            static_cast<std::size_t>(in.gcount()));
  }
  return in.bad() ? std::string() : DigestText(sum.Finish());
}

}  // namespace varnock
