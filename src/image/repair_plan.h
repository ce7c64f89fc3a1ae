// The repair of sectors' checksums as one edit: every sector whose EDC or ECC is wrong and may
// be rewritten (Mode 1, Mode 2 Form 1, Form 2 with an EDC in use) gets its checksum bytes
// computed over its data, and nothing else of it is written. One edit is one logged change: an
// interrupted repair is completed whole at the next opening, and one undo takes it back.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "image/image_edit.h"
#include "sector/sector_checks.h"

namespace tavrel {

class ImageFile;

struct RepairedSector {
    std::int64_t sector = 0;
    bool edc = false;  // which of the two were wrong
    bool ecc = false;
};

struct RepairPlan {
    ImageEdit edit;  // leaves checksums to itself; `checksumSectors` counts the repaired
    std::vector<RepairedSector> repaired;  // in sector order
    std::vector<std::pair<std::int64_t, std::uint8_t>>
        otherModes;  // sectors and mode bytes left alone
};

// Called now and then with the sectors looked at so far and in all.
using RepairProgress = std::function<void(std::int64_t done, std::int64_t total)>;

// The repair of `sectors` (in file order), or of every whole sector of the image when none
// are given. Reads the image, writes nothing.
RepairPlan planChecksumRepairs(const ImageFile& file,
                               std::optional<std::span<const std::int64_t>> sectors,
                               const RepairProgress& progress = {});

}  // namespace tavrel
