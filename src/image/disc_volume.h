// The ISO 9660 volume of a raw disc image, read only as far as Tavrel needs it: the primary
// volume descriptor of sector 16 (which system the disc is for, its name), and the boot file
// the disc's SYSTEM.CNF names, found through the root directory. Nothing is trusted: a length
// or sector that leads outside the file or past a few sectors gives no answer, not a failure.
#pragma once

#include <optional>
#include <string>

namespace tavrel {

class ImageFile;

struct DiscVolume {
    int mode = 0;  // of the sector holding the descriptor: 1, or 2 (Form 1)
    // The CD-XA mark in the descriptor's application area: a disc of Mode 2 sectors made for a
    // console, not a computer's CD-ROM.
    bool extendedArchitecture = false;
    std::string systemId, volumeId;  // blanks at the end left out
};

// The volume sector 16 describes; none when that sector holds no primary volume descriptor.
// Throws FileError only when the file cannot be read.
std::optional<DiscVolume> readDiscVolume(const ImageFile& file);

// The boot file named on SYSTEM.CNF's BOOT line ("ABCD_123.45": the name alone, without its
// folder or version); none where the disc has no such file or it cannot be read.
std::optional<std::string> bootFileName(const ImageFile& file);

}  // namespace tavrel
