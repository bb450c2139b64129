// clang-format off
#include <windows.h>
#include <bcrypt.h>
// clang-format on

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "support/sha256.h"
#include "support/translation.h"

namespace varnock {

struct Sha256::State {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  BCRYPT_HASH_HANDLE hash = nullptr;
};

Sha256::Sha256() : state_(std::make_unique<State>()) {
  if (!BCRYPT_SUCCESS(
          BCryptOpenAlgorithmProvider(&state_->algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0)) ||
      !BCRYPT_SUCCESS(
          BCryptCreateHash(state_->algorithm, &state_->hash, nullptr, 0, nullptr, 0, 0))) {
    if (state_->algorithm != nullptr) {
      BCryptCloseAlgorithmProvider(state_->algorithm, 0);
    }
    throw std::runtime_error(Tr("SHA-256 is not available"));
  }
}

Sha256::~Sha256() {
  if (state_->hash != nullptr) {
    BCryptDestroyHash(state_->hash);
  }
  BCryptCloseAlgorithmProvider(state_->algorithm, 0);
}

void Sha256::Add(const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ULONG piece =
        static_cast<ULONG>(std::min<std::size_t>(size, std::numeric_limits<ULONG>::max()));
    if (!BCRYPT_SUCCESS(BCryptHashData(state_->hash, const_cast<PUCHAR>(data), piece, 0))) {
      throw std::runtime_error(Tr("SHA-256 failed"));
    }
    data += piece;
    size -= piece;
  }
}

Sha256Digest Sha256::Finish() {
  Sha256Digest digest{};
  if (!BCRYPT_SUCCESS(
          BCryptFinishHash(state_->hash, digest.data(), static_cast<ULONG>(digest.size()), 0))) {
    throw std::runtime_error(Tr("SHA-256 failed"));
  }
  return digest;
}

}  // namespace varnock
