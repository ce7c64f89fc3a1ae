// The checksum path from the processor's features and the environment.
#include "sector/checksum_path.h"

#include <cstdlib>
#include <iterator>
#include <string_view>

namespace tavrel {
namespace {

constexpr ChecksumPath kEveryPath[] = {ChecksumPath::Portable, ChecksumPath::Ssse3,
                                       ChecksumPath::Avx2};

bool portableForced() {
    const char* value = std::getenv("TAVREL_PORTABLE_CHECKSUMS");
    return value != nullptr && std::string_view(value) != "" && std::string_view(value) != "0";
}

}  // namespace

bool processorRuns(ChecksumPath path) {
    // libgcc's answer for AVX2 also asks the system whether it saves the AVX registers.
    __builtin_cpu_init();
    switch (path) {
        case ChecksumPath::Portable:
            return true;
        case ChecksumPath::Ssse3:
            return __builtin_cpu_supports("ssse3") && __builtin_cpu_supports("pclmul");
        case ChecksumPath::Avx2:
            return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("pclmul");
    }
    return false;
}

std::vector<ChecksumPath> runnableChecksumPaths() {
    std::vector<ChecksumPath> paths;
    for (const ChecksumPath path : kEveryPath) {
        if (processorRuns(path))
            paths.push_back(path);
    }
    return paths;
}

ChecksumPath activeChecksumPath() {
    static const ChecksumPath active =
        portableForced() ? ChecksumPath::Portable : runnableChecksumPaths().back();
    return active;
}

const char* checksumPathName(ChecksumPath path) {
    constexpr const char* kNames[] = {"portable", "SSSE3", "AVX2"};
    static_assert(std::size(kNames) == kChecksumPathCount);
    return kNames[static_cast<std::size_t>(path)];
}

}  // namespace tavrel
