// Files that hold a disc but not as the raw 2352-byte sectors the game's offsets count in:
// compressed disc containers, archives, and images of 2048- or 2336-byte sectors. Recognised by
// their first bytes, whatever the file is called, so that none is ever written as if it were
// raw.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tavrel {

enum class ContainerKind {
    None,     // nothing known: perhaps a raw image
    Chd,      // a compressed disc ("MComprHD")
    Ecm,      // a raw image with its EDC and ECC stripped ("ECM\0")
    Pbp,      // a packed disc image of a handheld ("\0PBP")
    Archive,  // a zip, 7z or rar archive
    Iso2048,  // an ISO 9660 image of 2048-byte sectors (user data only)
    Iso2336,  // an image of 2336-byte sectors (subheader and user data)
};

// How many bytes from the start recogniseContainer looks at: enough for a volume descriptor in
// any of the first 64 sectors of a 2336-byte image.
inline constexpr std::size_t kContainerProbeSize = 64 * 2336 + 2048;

// What the first bytes of a file (up to kContainerProbeSize of them) say it is.
ContainerKind recogniseContainer(std::span<const std::uint8_t> start);

}  // namespace tavrel
