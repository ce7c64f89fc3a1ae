// A PPF 3.0 patch of what the change log changed: every byte whose value now differs from the
// value it had before its first logged change, with the old value as undo data, so that
// emulators and patchers can apply the mod to an unmodified copy of the image.
#pragma once

#include <string>
#include <vector>

#include "journal/change_record.h"

namespace tavrel {

class ImageFile;

// The net effect of `records` (those Done, in order) on `image`: consecutive changed bytes
// grouped into runs of at most 255, each with its new and old bytes.
std::vector<ByteChange> netChanges(const std::vector<ChangeRecord>& records,
                                   const ImageFile& image);

// The patch file: the 60-byte PPF3 header ("PPF30", encoding 2, `description` cut or padded
// with blanks to 50 bytes, image type 0, no block check, undo data on, one reserved byte), then
// per run its 64-bit little-endian offset, its length, the new bytes and the old bytes.
Bytes encodePpf3(const std::vector<ByteChange>& runs, const std::string& description);

}  // namespace tavrel
