// MD5 and SHA-1 as the system computes them (OpenSSL's libcrypto on Linux, CNG on Windows):
// fed in pieces, finished once. Disc archives list both for every dump, so a user can tell
// which one they have.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace tavrel::sys {

enum class DigestKind { Md5, Sha1 };

class Digest {
public:
    explicit Digest(DigestKind kind);
    ~Digest();
    Digest(const Digest&) = delete;
    Digest& operator=(const Digest&) = delete;

    void update(std::span<const std::uint8_t> bytes);
    // The digest of everything fed; the Digest takes nothing more after it.
    std::vector<std::uint8_t> finish();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace tavrel::sys
