// The ECC of each checksum path, which ecc.h's functions pick from; for the sector layer's own
// files. The SSSE3 and AVX2 ones run only where the processor has those instructions.
#pragma once

#include "sector/ecc.h"

namespace tavrel {

void writeEccParityPortable(WritableRawSector sector, EccHeader header);
bool eccParityIsRightPortable(RawSector sector, EccHeader header);

void writeEccParitySsse3(WritableRawSector sector, EccHeader header);
bool eccParityIsRightSsse3(RawSector sector, EccHeader header);

void writeEccParityAvx2(WritableRawSector sector, EccHeader header);
bool eccParityIsRightAvx2(RawSector sector, EccHeader header);

}  // namespace tavrel
