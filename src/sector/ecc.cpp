// The ECC on the path chosen.
#include "sector/ecc.h"

#include <iterator>

#include "sector/ecc_kernels.h"

namespace tavrel {
namespace {

struct EccKernels {
    void (*write)(WritableRawSector, EccHeader);
    bool (*isRight)(RawSector, EccHeader);
};

// Indexed by ChecksumPath.
constexpr EccKernels kKernels[] = {
    {writeEccParityPortable, eccParityIsRightPortable},
    {writeEccParitySsse3, eccParityIsRightSsse3},
    {writeEccParityAvx2, eccParityIsRightAvx2},
};
static_assert(std::size(kKernels) == kChecksumPathCount);

const EccKernels& kernelsOf(ChecksumPath path) {
    return kKernels[static_cast<std::size_t>(path)];
}

}  // namespace

void writeEccParity(WritableRawSector sector, EccHeader header, ChecksumPath path) {
    kernelsOf(path).write(sector, header);
}

bool eccParityIsRight(RawSector sector, EccHeader header, ChecksumPath path) {
    return kernelsOf(path).isRight(sector, header);
}

}  // namespace tavrel
