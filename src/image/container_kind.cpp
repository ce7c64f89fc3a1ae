// Recognising disc containers and cooked images by their content.
#include "image/container_kind.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "sector/raw_sector.h"

namespace tavrel {
namespace {

struct Magic {
    std::string_view bytes;
    ContainerKind kind;
};

// clang-format off
constexpr std::array kMagics{
    Magic{"MComprHD",                        ContainerKind::Chd},
    Magic{{"ECM\0", 4},                      ContainerKind::Ecm},
    Magic{{"\0PBP", 4},                      ContainerKind::Pbp},
    Magic{"PK\x03\x04",                      ContainerKind::Archive},
    Magic{"7z\xBC\xAF\x27\x1C",              ContainerKind::Archive},
    Magic{"Rar!\x1A\x07",                    ContainerKind::Archive},
};
// clang-format on

// Where a cooked image keeps a sector's 2048 bytes of user data.
struct CookedLayout {
    std::size_t sectorSize, userDataAt;
    ContainerKind kind;
};
constexpr std::array kCookedLayouts{CookedLayout{2048, 0, ContainerKind::Iso2048},
                                    CookedLayout{2336, 8, ContainerKind::Iso2336}};

bool startsWith(std::span<const std::uint8_t> bytes, std::string_view text) {
    return bytes.size() >= text.size() &&
           std::equal(text.begin(), text.end(), bytes.begin(),
                      [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; });
}

// A volume descriptor of ISO 9660 (or the UDF ones that stand in the same set): its type, the
// standard's identifier, version 1.
bool isVolumeDescriptor(std::span<const std::uint8_t> at) {
    constexpr std::array<std::string_view, 4> kIdentifiers{"CD001", "BEA01", "NSR02", "TEA01"};
    if (at.size() < 7 || (at[0] > 3 && at[0] != 0xFF) || at[6] != 1)
        return false;
    return std::ranges::any_of(kIdentifiers,
                               [&](std::string_view id) { return startsWith(at.subspan(1), id); });
}

}  // namespace

ContainerKind recogniseContainer(std::span<const std::uint8_t> start) {
    for (const Magic& magic : kMagics) {
        if (startsWith(start, magic.bytes))
            return magic.kind;
    }
    // A raw image opens with a sector's sync pattern; its descriptors lie inside such sectors.
    if (startsWith(start, std::string_view(reinterpret_cast<const char*>(kSectorSync.data()),
                                           kSectorSync.size())))
        return ContainerKind::None;
    // The volume descriptor set starts at sector 16 of a volume, but a cooked image may hold a
    // volume that starts later (a second session's, say): any sector of the probe counts.
    for (const CookedLayout& layout : kCookedLayouts) {
        for (std::size_t at = layout.userDataAt; at + 7 <= start.size(); at += layout.sectorSize) {
            if (isVolumeDescriptor(start.subspan(at)))
                return layout.kind;
        }
    }
    return ContainerKind::None;
}

}  // namespace tavrel
