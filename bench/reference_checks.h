// Sector checks written the straightforward way, one byte at a time: what the benchmark
// measures the core's checks against.
#pragma once

#include "sector/sector_checks.h"

namespace tavrel::bench {

SectorCheck referenceCheck(RawSector sector);

}  // namespace tavrel::bench
