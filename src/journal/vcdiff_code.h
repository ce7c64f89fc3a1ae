// What VCDIFF readers and writers share (RFC 3284): the default instruction code table, the
// cache that addresses of COPY instructions are encoded against, and its numbers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "image/file_error.h"

namespace tavrel {

inline constexpr std::array<std::uint8_t, 4> kVcdiffMagic = {0xD6, 0xC3, 0xC4, 0x00};

// The header's indicator bits, then a window's. The window checksum is xdelta3's extension: the
// Adler-32 of the window's target bytes, big-endian, after the three section lengths.
inline constexpr std::uint8_t kVcdSecondary = 0x01, kVcdCodeTable = 0x02, kVcdAppHeader = 0x04;
inline constexpr std::uint8_t kVcdSource = 0x01, kVcdTarget = 0x02, kVcdChecksum = 0x04;

enum class VcdiffOp : std::uint8_t { Noop, Add, Run, Copy };

struct HalfInstruction {
    VcdiffOp op = VcdiffOp::Noop;
    std::uint8_t size = 0;  // 0: the size follows the opcode in the instructions
    std::uint8_t mode = 0;  // the address mode of a COPY
    friend bool operator==(const HalfInstruction&, const HalfInstruction&) = default;
};

struct CodeEntry {
    HalfInstruction first, second;
};

// The 256 entries of the default code table, in opcode order.
const std::array<CodeEntry, 256>& defaultCodeTable();

// The opcode of the default table that does `first` then `second` (Noop: alone); none when no
// entry does.
std::optional<std::uint8_t> opcodeFor(HalfInstruction first, HalfInstruction second = {});

// The near and same caches of COPY addresses, emptied at each window's start. Modes: 0 the
// address itself, 1 its distance back from the current position, 2..5 its distance past one
// of the four last addresses, 6..8 a byte picking an address seen before.
class AddressCache {
public:
    static constexpr int kNear = 4, kSame = 3;
    static constexpr int kModes = 2 + kNear + kSame;

    static constexpr bool byteMode(int mode) { return mode >= 2 + kNear; }

    struct Encoded {
        int mode = 0;
        std::uint64_t value = 0;  // a number to write; a single byte in a byte mode
    };
    // The shortest way to write `address` from `here`, and the cache updated.
    Encoded encode(std::uint64_t address, std::uint64_t here);
    // The address `value` gives in `mode` from `here`, and the cache updated; none when the
    // mode or the value is out of range.
    std::optional<std::uint64_t> decode(int mode, std::uint64_t value, std::uint64_t here);

private:
    void update(std::uint64_t address);

    std::array<std::uint64_t, kNear> near_{};
    std::array<std::uint64_t, kSame * 256> same_{};
    int nextNear_ = 0;
};

// How many bytes `value` takes as a VCDIFF number, and appending it.
int varintSize(std::uint64_t value);
void appendVarint(Bytes& out, std::uint64_t value);

}  // namespace tavrel
