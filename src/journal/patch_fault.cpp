// Recognising a patch and walking its bytes.
#include "journal/patch_fault.h"

namespace tavrel {

PatchFormat recognisePatch(std::span<const std::uint8_t> bytes) {
    if (bytes.size() >= 3 && bytes[0] == 'P' && bytes[1] == 'P' && bytes[2] == 'F')
        return PatchFormat::Ppf;
    if (bytes.size() >= 3 && bytes[0] == 0xD6 && bytes[1] == 0xC3 && bytes[2] == 0xC4)
        return PatchFormat::Vcdiff;
    return PatchFormat::Unknown;
}

bool PatchCursor::little(std::uint64_t& value, int size) {
    if (left() < static_cast<std::size_t>(size))
        return false;
    value = 0;
    for (int i = 0; i < size; ++i) value |= std::uint64_t{bytes_[at_++]} << (8 * i);
    return true;
}

bool PatchCursor::bytes(std::span<const std::uint8_t>& taken, std::uint64_t size) {
    if (left() < size)
        return false;
    taken = bytes_.subspan(at_, static_cast<std::size_t>(size));
    at_ += static_cast<std::size_t>(size);
    return true;
}

bool PatchCursor::varint(std::uint64_t& value, bool& overflow) {
    overflow = false;
    std::uint64_t result = 0;
    for (std::size_t i = at_; i < bytes_.size(); ++i) {
        if (result >> 56 != 0) {
            overflow = true;
            return false;
        }
        result = (result << 7) | (bytes_[i] & 0x7Fu);
        if ((bytes_[i] & 0x80) == 0) {
            value = result;
            at_ = i + 1;
            return true;
        }
    }
    return false;
}

}  // namespace tavrel
