// Digests through OpenSSL's EVP interface.
#include <openssl/evp.h>

#include <stdexcept>

#include "platform/digest.h"

namespace tavrel::sys {

struct Digest::State {
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    ~State() { EVP_MD_CTX_free(context); }
};

Digest::Digest(DigestKind kind) : state_(std::make_unique<State>()) {
    const EVP_MD* method = kind == DigestKind::Md5 ? EVP_md5() : EVP_sha1();
    if (state_->context == nullptr || EVP_DigestInit_ex(state_->context, method, nullptr) != 1)
        throw std::runtime_error("the system's digest could not start");
}

Digest::~Digest() = default;

void Digest::update(std::span<const std::uint8_t> bytes) {
    if (EVP_DigestUpdate(state_->context, bytes.data(), bytes.size()) != 1)
        throw std::runtime_error("the system's digest failed");
}

std::vector<std::uint8_t> Digest::finish() {
    std::vector<std::uint8_t> digest(EVP_MAX_MD_SIZE);
    unsigned length = 0;
    if (EVP_DigestFinal_ex(state_->context, digest.data(), &length) != 1)
        throw std::runtime_error("the system's digest failed");
    digest.resize(length);
    return digest;
}

}  // namespace tavrel::sys
