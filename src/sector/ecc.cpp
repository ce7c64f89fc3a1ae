// The ECC on the path chosen.
#include "sector/ecc.h"

#include "sector/ecc_kernels.h"

namespace tavrel {

void writeEccParity(WritableRawSector sector, EccHeader header, ChecksumPath path) {
    switch (path) {
        case ChecksumPath::Portable:
            return writeEccParityPortable(sector, header);
        case ChecksumPath::Ssse3:
            return writeEccParitySsse3(sector, header);
        case ChecksumPath::Avx2:
            return writeEccParityAvx2(sector, header);
    }
}

bool eccParityIsRight(RawSector sector, EccHeader header, ChecksumPath path) {
    switch (path) {
        case ChecksumPath::Portable:
            return eccParityIsRightPortable(sector, header);
        case ChecksumPath::Ssse3:
            return eccParityIsRightSsse3(sector, header);
        case ChecksumPath::Avx2:
            return eccParityIsRightAvx2(sector, header);
    }
    return false;
}

}  // namespace tavrel
