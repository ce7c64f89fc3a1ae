// ECC of Mode 1 and Mode 2 Form 1 sectors: the P and Q parity of the Reed–Solomon product
// code over GF(2⁸) that covers every byte from the header to the end of the sector.
#pragma once

#include "sector/checksum_path.h"
#include "sector/raw_sector.h"

namespace tavrel {

// Mode 2 leaves the header out of the code: its four bytes count as zero.
enum class EccHeader { AsStored, AsZero };

// Rewrites the P and Q parity (bytes 2076–2351) to match bytes 12–2075.
void writeEccParity(WritableRawSector sector, EccHeader header,
                    ChecksumPath path = activeChecksumPath());

// True when every P and Q codeword of the sector is a valid one.
bool eccParityIsRight(RawSector sector, EccHeader header, ChecksumPath path = activeChecksumPath());

}  // namespace tavrel
