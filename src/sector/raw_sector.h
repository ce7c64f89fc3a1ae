// Layout of one raw 2352-byte sector: where its sync, header, subheader, EDC and ECC lie.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tavrel {

inline constexpr std::int64_t kRawSectorSize = 2352;
// The 2048 bytes of user data follow 24 bytes of sync, header and subheader.
inline constexpr std::int64_t kSectorUserDataStart = 24;
inline constexpr std::int64_t kSectorUserDataSize = 2048;
inline constexpr std::int64_t kSectorUserDataEnd = kSectorUserDataStart + kSectorUserDataSize;

using RawSector = std::span<const std::uint8_t, kRawSectorSize>;
using WritableRawSector = std::span<std::uint8_t, kRawSectorSize>;

inline constexpr std::array<std::uint8_t, 12> kSectorSync = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                                             0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};

// Header: minute, second and frame in BCD, then the mode.
inline constexpr std::size_t kHeaderAt = 12;
inline constexpr std::size_t kModeAt = 15;

// Mode 1: the EDC covers sync, header and user data; eight zero bytes follow it.
inline constexpr std::size_t kMode1EdcAt = 2064;
inline constexpr std::size_t kMode1ZeroBytesAt = 2068;

// Mode 2: two copies of the subheader (file, channel, submode, coding); the EDC starts at the
// subheader, and the submode's form bit picks where it ends.
inline constexpr std::size_t kSubheaderAt = 16;
inline constexpr std::size_t kSubmodeAt = 18;
inline constexpr std::uint8_t kSubmodeForm2 = 0x20;
inline constexpr std::size_t kForm1EdcAt = 2072;
inline constexpr std::size_t kForm2EdcAt = 2348;

// ECC parity of Mode 1 and Mode 2 Form 1: P then Q, up to the end of the sector.
inline constexpr std::size_t kEccPAt = 2076;
inline constexpr std::size_t kEccQAt = 2248;

}  // namespace tavrel
