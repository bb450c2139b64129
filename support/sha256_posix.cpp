#include <openssl/evp.h>

#include <stdexcept>

#include "support/sha256.h"
#include "support/translation.h"

namespace varnock {

struct Sha256::State {
  EVP_MD_CTX* context = nullptr;
};

Sha256::Sha256() : state_(std::make_unique<State>()) {
  state_->context = EVP_MD_CTX_new();
  if (state_->context == nullptr ||
      EVP_DigestInit_ex(state_->context, EVP_sha256(), nullptr) != 1) {
    EVP_MD_CTX_free(state_->context);
    throw std::runtime_error(Tr("SHA-256 is not available"));
  }
}

Sha256::~Sha256() {
  EVP_MD_CTX_free(state_->context);
}

void Sha256::Add(const std::uint8_t* data, std::size_t size) {
  if (size > 0 && EVP_DigestUpdate(state_->context, data, size) != 1) {
    throw std::runtime_error(Tr("SHA-256 failed"));
  }
}

Sha256Digest Sha256::Finish() {
  Sha256Digest digest{};
  unsigned int length = 0;
  if (EVP_DigestFinal_ex(state_->context, digest.data(), &length) != 1 || length != digest.size()) {
    throw std::runtime_error(Tr("SHA-256 failed"));
  }
  return digest;
}

}  // namespace varnock
