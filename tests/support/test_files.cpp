#include "test_files.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace tavrel::testing {

TempDir::TempDir() {
    std::random_device random;
    // Memory-backed where the system has it: the editor syncs every write, and tests write
    // many 14 MB images.
    std::error_code error;
    const auto base = std::filesystem::is_directory("/dev/shm", error)
                          ? std::filesystem::path("/dev/shm")
                          : std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("tavrel-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

Bytes readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    Bytes bytes(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()))) {
        throw std::runtime_error("cannot read " + path);
    }
    return bytes;
}

void writeWholeFile(const std::string& path, std::string_view content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + path);
}

void writeWholeFile(const std::string& path, const Bytes& content) {
    writeWholeFile(path,
                   std::string_view(reinterpret_cast<const char*>(content.data()), content.size()));
}

std::vector<std::int64_t> differingOffsets(const Bytes& before, const Bytes& after) {
    std::vector<std::int64_t> offsets;
    const std::size_t common = std::min(before.size(), after.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (before[i] != after[i])
            offsets.push_back(static_cast<std::int64_t>(i));
    }
    for (std::size_t i = common; i < std::max(before.size(), after.size()); ++i) {
        offsets.push_back(static_cast<std::int64_t>(i));
    }
    return offsets;
}

}  // namespace tavrel::testing
