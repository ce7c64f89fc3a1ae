// Builds raw game images in memory, for tests and the demo image: whole 2352-byte Mode 2 Form 1
// sectors with real framing (sync, header, subheader, and EDC/ECC right for their content or
// filled with a recognisable pattern), and setters for the places the editor reads and writes.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "game/flag.h"
#include "game/game_places.h"
#include "image/file_error.h"

namespace tavrel::build {

// Enough whole sectors to hold the net bytes, the furthest place the editor touches.
inline constexpr std::int64_t kGameImageSectors = 6110;

// Marked framing: EDC bytes read EE, ECC bytes CC, so a stray write into them shows.
inline constexpr std::uint8_t kEdcFill = 0xEE;
inline constexpr std::uint8_t kEccFill = 0xCC;

enum class UserDataFill { Zero, Pattern };
enum class Framing {
    Checksums,  // every sector's EDC and ECC right for its content, as on a real disc
    Marked,     // EDC and ECC filled with kEdcFill and kEccFill
};

class RawImageBuilder {
public:
    // Pattern fills the user data with a fixed pseudo-random sequence, so that every type
    // slot and palette holds distinct bytes and a misplaced write shows.
    explicit RawImageBuilder(std::int64_t sectors = kGameImageSectors,
                             UserDataFill fill = UserDataFill::Pattern,
                             Framing framing = Framing::Checksums);

    // Starts from an image built before, to change a few places of it as the editor does: a
    // sector whose checksums were right before its first change gets them computed again over
    // its new data, any other keeps its checksum bytes; with `leaveChecksums`, every sector
    // keeps them.
    explicit RawImageBuilder(Bytes image, bool leaveChecksums = false)
        : image_(std::move(image)), editing_(!leaveChecksums) {}

    // Raw bytes at a 0-based offset, framing or not.
    void setBytes(std::int64_t offset, std::span<const std::uint8_t> bytes);

    // The stored name of `team`, as given; its length must match the team's entry (team 4:
    // 10 bytes, laid into its two pieces).
    void setNameBytes(int team, std::span<const std::uint8_t> bytes);

    // The team's type byte in all five type-table copies, and its palette (where it has one),
    // laid across a sector end where the palette crosses one.
    void setFlag(int team, const Flag& flag);

    void setNets(NetPattern pattern);

    // The image; built with Framing::Checksums, every sector's EDC and ECC are computed now.
    Bytes bytes() const;
    void writeTo(const std::string& path) const;

private:
    std::span<const std::uint8_t, kRawSectorSize> sector(std::int64_t number) const;

    Bytes image_;
    bool checksums_ = false;
    bool editing_ = false;
    std::map<std::int64_t, bool> rightBefore_;  // by sector, while editing
};

// Full-width encoding of a name as the game stores it: letters and the full stop as 2-byte
// codes, a blank as the single byte 20.
Bytes encodeName(std::string_view name);

}  // namespace tavrel::build
