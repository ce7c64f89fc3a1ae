// Digests through Windows' Cryptography API: Next Generation.
#include <windows.h>
// After windows.h, which it needs.
#include <bcrypt.h>

#include <algorithm>
#include <stdexcept>

#include "platform/digest.h"

namespace tavrel::sys {

struct Digest::State {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    ~State() {
        if (hash != nullptr)
            ::BCryptDestroyHash(hash);
        if (algorithm != nullptr)
            ::BCryptCloseAlgorithmProvider(algorithm, 0);
    }
};

namespace {

void require(NTSTATUS status) {
    if (!BCRYPT_SUCCESS(status))
        throw std::runtime_error("the system's digest failed");
}

}  // namespace

Digest::Digest(DigestKind kind) : state_(std::make_unique<State>()) {
    require(::BCryptOpenAlgorithmProvider(
        &state_->algorithm, kind == DigestKind::Md5 ? BCRYPT_MD5_ALGORITHM : BCRYPT_SHA1_ALGORITHM,
        nullptr, 0));
    require(::BCryptCreateHash(state_->algorithm, &state_->hash, nullptr, 0, nullptr, 0, 0));
}

Digest::~Digest() = default;

void Digest::update(std::span<const std::uint8_t> bytes) {
    // One call takes at most 4 GiB.
    constexpr std::size_t kLargest = 1u << 30;
    for (std::size_t at = 0; at < bytes.size(); at += kLargest) {
        const std::span<const std::uint8_t> part =
            bytes.subspan(at, std::min(kLargest, bytes.size() - at));
        require(::BCryptHashData(state_->hash, const_cast<PUCHAR>(part.data()),
                                 static_cast<ULONG>(part.size()), 0));
    }
}

std::vector<std::uint8_t> Digest::finish() {
    DWORD length = 0, written = 0;
    require(::BCryptGetProperty(state_->hash, BCRYPT_HASH_LENGTH, reinterpret_cast<PUCHAR>(&length),
                                sizeof length, &written, 0));
    std::vector<std::uint8_t> digest(length);
    require(::BCryptFinishHash(state_->hash, digest.data(), length, 0));
    return digest;
}

}  // namespace tavrel::sys
