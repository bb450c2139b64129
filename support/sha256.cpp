#include "support/sha256.h"

#include <fstream>
#include <vector>

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
  std::vector<char> buffer(1 << 20);
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    sum.Add(reinterpret_cast<const std::uint8_t*>(buffer.data()),
            static_cast<std::size_t>(in.gcount()));
  }
  return in.bad() ? std::string() : DigestText(sum.Finish());
}

}  // namespace varnock
