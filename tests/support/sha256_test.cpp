#include "support/sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace varnock {
namespace {

// The test vectors of the standard, each fed whole and in uneven pieces.
TEST(Sha256Test, StandardVectors) {
  const std::string million(1000000, 'a');
  const struct {
    std::string message;
    const char* digest;
  } cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {million, "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& c : cases) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(c.message.data());
    EXPECT_EQ(DigestText(Sha256Of(data, c.message.size())), c.digest);
    Sha256 pieces;
    for (std::size_t at = 0, piece = 1; at < c.message.size(); at += piece, piece = piece * 3 + 1) {
      pieces.Add(data + at, std::min(piece, c.message.size() - at));
    }
    EXPECT_EQ(DigestText(pieces.Finish()), c.digest);
  }
}

}  // namespace
}  // namespace varnock
