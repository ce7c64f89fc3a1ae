// Which code computes the sectors' EDC and ECC: portable C++, or the vector instructions of the
// processor the program runs on. One binary serves every x86-64 processor; the path is picked
// once per run, and tests and benchmarks may name any path the processor runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavrel {

// Ssse3: SSSE3 and PCLMULQDQ. Avx2: AVX2 and PCLMULQDQ. Every path gives the same results.
enum class ChecksumPath : std::uint8_t { Portable, Ssse3, Avx2 };

inline constexpr std::size_t kChecksumPathCount = 3;

// True when this processor, and its system for the AVX registers, can run `path`.
bool processorRuns(ChecksumPath path);

// Every path this processor runs, the portable one first and the fastest last.
std::vector<ChecksumPath> runnableChecksumPaths();

// The fastest path this processor runs, or the portable one when the environment variable
// TAVREL_PORTABLE_CHECKSUMS holds anything but nothing or "0". Decided at the first call.
ChecksumPath activeChecksumPath();

const char* checksumPathName(ChecksumPath path);

}  // namespace tavrel
