// The default code table, built as RFC 3284 lays it out, and the address cache.
#include "journal/vcdiff_code.h"

namespace tavrel {
namespace {

using Op = VcdiffOp;

std::array<CodeEntry, 256> buildTable() {
    std::array<CodeEntry, 256> table{};
    std::size_t next = 0;
    const auto add = [&](HalfInstruction first, HalfInstruction second = {}) {
        table[next++] = {first, second};
    };
    add({Op::Run, 0, 0});
    for (int size = 0; size <= 17; ++size) add({Op::Add, static_cast<std::uint8_t>(size), 0});
    for (std::uint8_t mode = 0; mode < AddressCache::kModes; ++mode) {
        add({Op::Copy, 0, mode});
        for (int size = 4; size <= 18; ++size)
            add({Op::Copy, static_cast<std::uint8_t>(size), mode});
    }
    for (std::uint8_t mode = 0; mode < AddressCache::kModes; ++mode) {
        const int largestCopy = AddressCache::byteMode(mode) ? 4 : 6;
        for (int addSize = 1; addSize <= 4; ++addSize) {
            for (int copySize = 4; copySize <= largestCopy; ++copySize)
                add({Op::Add, static_cast<std::uint8_t>(addSize), 0},
                    {Op::Copy, static_cast<std::uint8_t>(copySize), mode});
        }
    }
    for (std::uint8_t mode = 0; mode < AddressCache::kModes; ++mode)
        add({Op::Copy, 4, mode}, {Op::Add, 1, 0});
    return table;
}

}  // namespace

const std::array<CodeEntry, 256>& defaultCodeTable() {
    static const std::array<CodeEntry, 256> table = buildTable();
    return table;
}

std::optional<std::uint8_t> opcodeFor(HalfInstruction first, HalfInstruction second) {
    const std::array<CodeEntry, 256>& table = defaultCodeTable();
    for (std::size_t opcode = 0; opcode < table.size(); ++opcode) {
        if (table[opcode].first == first && table[opcode].second == second)
            return static_cast<std::uint8_t>(opcode);
    }
    return std::nullopt;
}

AddressCache::Encoded AddressCache::encode(std::uint64_t address, std::uint64_t here) {
    Encoded best{0, address};
    const auto consider = [&](int mode, std::uint64_t value) {
        const int size = byteMode(mode) ? 1 : varintSize(value);
        const int bestSize = byteMode(best.mode) ? 1 : varintSize(best.value);
        if (size < bestSize)
            best = {mode, value};
    };
    consider(1, here - address);
    for (int i = 0; i < kNear; ++i) {
        if (address >= near_[static_cast<std::size_t>(i)])
            consider(2 + i, address - near_[static_cast<std::size_t>(i)]);
    }
    const std::size_t slot = address % same_.size();
    if (same_[slot] == address)
        consider(2 + kNear + static_cast<int>(slot / 256), slot % 256);
    update(address);
    return best;
}

std::optional<std::uint64_t> AddressCache::decode(int mode, std::uint64_t value,
                                                  std::uint64_t here) {
    std::uint64_t address = 0;
    if (mode == 0) {
        address = value;
    } else if (mode == 1) {
        if (value > here)
            return std::nullopt;
        address = here - value;
    } else if (mode < 2 + kNear) {
        address = near_[static_cast<std::size_t>(mode - 2)] + value;
    } else if (mode < kModes && value < 256) {
        address = same_[static_cast<std::size_t>(mode - 2 - kNear) * 256 + value];
    } else {
        return std::nullopt;
    }
    update(address);
    return address;
}

void AddressCache::update(std::uint64_t address) {
    near_[static_cast<std::size_t>(nextNear_)] = address;
    nextNear_ = (nextNear_ + 1) % kNear;
    same_[address % same_.size()] = address;
}

int varintSize(std::uint64_t value) {
    int size = 1;
    while (value >>= 7) ++size;
    return size;
}

void appendVarint(Bytes& out, std::uint64_t value) {
    for (int shift = 7 * (varintSize(value) - 1); shift > 0; shift -= 7)
        out.push_back(static_cast<std::uint8_t>(0x80 | ((value >> shift) & 0x7F)));
    out.push_back(static_cast<std::uint8_t>(value & 0x7F));
}

}  // namespace tavrel
