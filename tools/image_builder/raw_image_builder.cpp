#include "raw_image_builder.h"

#include <fstream>
#include <stdexcept>

#include "game/game_places.h"
#include "sector/sector_checks.h"

namespace tavrel::build {
namespace {

constexpr std::int64_t kEdcSize = 4;
constexpr int kFramesPerSecond = 75;
constexpr int kLeadInSeconds = 2;  // sector 0 of a track image is at 00:02:00

std::uint8_t bcd(int value) {
    return static_cast<std::uint8_t>((value / 10) << 4 | value % 10);
}

void frameSector(std::uint8_t* sector, std::int64_t number) {
    std::copy(kSectorSync.begin(), kSectorSync.end(), sector);
    const std::int64_t address = number + kLeadInSeconds * kFramesPerSecond;
    sector[12] = bcd(static_cast<int>(address / (60 * kFramesPerSecond)));
    sector[13] = bcd(static_cast<int>(address / kFramesPerSecond % 60));
    sector[14] = bcd(static_cast<int>(address % kFramesPerSecond));
    sector[15] = 0x02;  // mode 2
    // Mode-2 form-1 subheader, written twice: file 0, channel 0, submode data, coding 0.
    const std::uint8_t subheader[4] = {0x00, 0x00, 0x08, 0x00};
    std::copy(subheader, subheader + 4, sector + 16);
    std::copy(subheader, subheader + 4, sector + 20);
    std::fill(sector + kSectorUserDataEnd, sector + kSectorUserDataEnd + kEdcSize, kEdcFill);
    std::fill(sector + kSectorUserDataEnd + kEdcSize, sector + kRawSectorSize, kEccFill);
}

}  // namespace

RawImageBuilder::RawImageBuilder(std::int64_t sectors, UserDataFill fill, Framing framing)
    : image_(static_cast<std::size_t>(sectors * kRawSectorSize)),
      checksums_(framing == Framing::Checksums) {
    std::uint32_t state = 0x2545F491u;
    for (std::int64_t s = 0; s < sectors; ++s) {
        std::uint8_t* sector = image_.data() + s * kRawSectorSize;
        frameSector(sector, s);
        if (fill == UserDataFill::Pattern) {
            for (std::int64_t i = kSectorUserDataStart; i < kSectorUserDataEnd; ++i) {
                state ^= state << 13;  // xorshift32: cheap, fixed, and never all zero
                state ^= state >> 17;
                state ^= state << 5;
                sector[i] = static_cast<std::uint8_t>(state >> 24);
            }
        }
    }
}

Bytes RawImageBuilder::bytes() const {
    Bytes image = image_;
    for (std::size_t at = 0; checksums_ && at < image.size(); at += kRawSectorSize)
        regenerateChecksums(std::span(image).subspan(at).first<kRawSectorSize>());
    for (const auto& [s, right] : rightBefore_) {
        if (right)
            regenerateChecksums(std::span(image)
                                    .subspan(static_cast<std::size_t>(s * kRawSectorSize))
                                    .first<kRawSectorSize>());
    }
    return image;
}

std::span<const std::uint8_t, kRawSectorSize> RawImageBuilder::sector(std::int64_t number) const {
    return std::span(image_)
        .subspan(static_cast<std::size_t>(number * kRawSectorSize))
        .first<kRawSectorSize>();
}

void RawImageBuilder::setBytes(std::int64_t offset, std::span<const std::uint8_t> bytes) {
    if (offset < 0 || offset + static_cast<std::int64_t>(bytes.size()) >
                          static_cast<std::int64_t>(image_.size())) {
        throw std::out_of_range("bytes beyond the end of the built image");
    }
    const auto end = offset + static_cast<std::int64_t>(bytes.size());
    for (std::int64_t s = offset / kRawSectorSize; editing_ && s * kRawSectorSize < end; ++s) {
        if ((s + 1) * kRawSectorSize <= static_cast<std::int64_t>(image_.size()))
            rightBefore_.emplace(s, checkSector(sector(s)).right());
    }
    std::copy(bytes.begin(), bytes.end(), image_.begin() + offset);
}

void RawImageBuilder::setNameBytes(int team, std::span<const std::uint8_t> bytes) {
    if (team == kTwoPieceNameTeam) {
        const ByteRun& first = kTwoPieceName[0];
        const ByteRun& second = kTwoPieceName[1];
        if (bytes.size() != static_cast<std::size_t>(first.length + second.length))
            throw std::invalid_argument("team 4's name is 4 + 6 bytes");
        setBytes(first.offset, bytes.first(static_cast<std::size_t>(first.length)));
        setBytes(second.offset, bytes.subspan(static_cast<std::size_t>(first.length)));
        return;
    }
    const Team& entry = kTeams.at(static_cast<std::size_t>(team));
    if (static_cast<std::size_t>(entry.nameLength) != bytes.size())
        throw std::invalid_argument("name does not fit the team's entry");
    setBytes(entry.nameOffset, bytes);
}

void RawImageBuilder::setFlag(int team, const Flag& flag) {
    for (const std::int64_t copy : kTypeTableCopies) {
        const std::uint8_t type[1] = {flag.type};
        setBytes(copy + typeSlot(team), type);
    }
    std::size_t done = 0;
    for (const ByteRun& run : paletteRuns(team)) {
        setBytes(run.offset,
                 std::span(flag.palette).subspan(done, static_cast<std::size_t>(run.length)));
        done += static_cast<std::size_t>(run.length);
    }
}

void RawImageBuilder::setNets(NetPattern pattern) {
    setBytes(kNetsOffset, pattern == NetPattern::Plain ? kPlainNets : kDiamondNets);
}

void RawImageBuilder::writeTo(const std::string& path) const {
    const Bytes image = bytes();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()),
              static_cast<std::streamsize>(image.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + path);
}

Bytes encodeName(std::string_view name) {
    Bytes out;
    for (char c : name) {
        if (c >= 'A' && c <= 'Z') {
            out.insert(out.end(), {0x82, static_cast<std::uint8_t>(0x60 + c - 'A')});
        } else if (c >= 'a' && c <= 'z') {
            out.insert(out.end(), {0x82, static_cast<std::uint8_t>(0x81 + c - 'a')});
        } else if (c == '.') {
            out.insert(out.end(), {0x81, 0x44});
        } else if (c == ' ') {
            out.push_back(0x20);
        } else {
            throw std::invalid_argument("the game's names hold letters, full stops and blanks");
        }
    }
    return out;
}

}  // namespace tavrel::build
