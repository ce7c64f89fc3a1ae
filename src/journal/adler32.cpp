// Adler-32 over blocks short enough that its sums cannot overflow 32 bits before they are
// reduced: a patch checks a whole window of the image, megabytes at a time.
#include "journal/adler32.h"

namespace tavrel {
namespace {

constexpr std::uint32_t kBase = 65521;
// The most bytes after which `b` still fits in 32 bits when reduced only then.
constexpr std::size_t kBlock = 5552;

}  // namespace

std::uint32_t adler32(std::span<const std::uint8_t> bytes) {
    std::uint32_t a = 1, b = 0;
    while (!bytes.empty()) {
        const std::size_t size = bytes.size() < kBlock ? bytes.size() : kBlock;
        const std::uint8_t* next = bytes.data();
        std::size_t left = size;
        // Sixteen bytes a turn: b gains 16·a plus each byte weighted by how many follow it.
        for (; left >= 16; left -= 16, next += 16) {
            std::uint32_t sum = 0, weighted = 0;
            for (int i = 0; i < 16; ++i) {
                sum += next[i];
                weighted += static_cast<std::uint32_t>(16 - i) * next[i];
            }
            b += 16 * a + weighted;
            a += sum;
        }
        for (; left > 0; --left, ++next) {
            a += *next;
            b += a;
        }
        a %= kBase;
        b %= kBase;
        bytes = bytes.subspan(size);
    }
    return b << 16 | a;
}

}  // namespace tavrel
