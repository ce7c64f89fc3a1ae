// The repair of sectors' checksums as one edit: every sector whose EDC or ECC is wrong and may
// be rewritten (Mode 1, Mode 2 Form 1, Form 2 with an EDC in use) gets its checksum bytes
// computed over its data, and nothing else of it is written. One edit is one logged change: an
// interrupted repair is completed whole at the next opening, and one undo takes it back.
#pragma once

#include <cstdint>
#include <vector>

#include "image/image_edit.h"
#include "walk/sector_repairs.h"

namespace tavrel {

class ImageFile;

struct RepairPlan {
    ImageEdit edit;  // leaves checksums to itself; `checksumSectors` counts the repaired
    std::vector<SectorRepair> repaired;       // in sector order, their bytes in `edit`
    std::vector<OtherModeSector> otherModes;  // left alone
};

// The repair of `sectors` (listed in file order, or kEverySector), found on the walk verification
// makes. Reads the image, writes nothing.
RepairPlan planChecksumRepairs(const ImageFile& file, SectorList sectors,
                               const VerifyProgress& progress = {});

}  // namespace tavrel
