// Why a patch file cannot be read, as facts the front ends word, and the cursor the patch
// readers walk their bytes with: every length a patch gives is checked against its end before
// a byte is taken.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tavrel {

struct PatchFault {
    enum class Kind {
        None,
        NotAPatch,       // neither a PPF nor a VCDIFF patch
        UnknownVersion,  // a PPF encoding method its magic does not name, a VCDIFF version > 0
        Truncated,       // the patch ends inside a header, record or window (`at`)
        EmptyRecord,     // a PPF record of length 0 (`at`)
        Compressed,      // VCDIFF sections packed by a secondary compressor (`name`)
        CodeTable,       // a VCDIFF code table of the patch's own
        Malformed,       // bytes that are no field of the format: unknown indicator bits,
                         // lengths that disagree, a number too large (`at`)
        BadInstruction,  // a VCDIFF instruction reaching outside its window (`at`: the window)
        TooLarge,        // a VCDIFF window larger than any this program decodes (`at`)
    };
    Kind kind = Kind::None;
    std::int64_t at = -1;  // where in the patch file
    std::string name;      // the secondary compressor's
};

enum class PatchFormat { Unknown, Ppf, Vcdiff };

// What the first bytes say the patch is.
PatchFormat recognisePatch(std::span<const std::uint8_t> bytes);

// Reads a patch from its start. Every method that takes bytes says false, and takes nothing,
// when fewer are left.
class PatchCursor {
public:
    explicit PatchCursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t at() const { return at_; }
    std::size_t left() const { return bytes_.size() - at_; }
    void skipTo(std::size_t at) { at_ = at; }

    // `size` bytes as an unsigned little-endian number.
    bool little(std::uint64_t& value, int size);
    bool bytes(std::span<const std::uint8_t>& taken, std::uint64_t size);
    // A VCDIFF number: 7 bits a byte, the most significant first, the top bit set on every
    // byte but the last. False also for a number over 63 bits (`overflow` then set).
    bool varint(std::uint64_t& value, bool& overflow);

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

}  // namespace tavrel
