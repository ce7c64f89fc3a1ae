#include "test_files.h"

#ifndef _WIN32
#include <sys/statvfs.h>
#endif

#include <fstream>
#include <random>
#include <stdexcept>

namespace tavrel::testing {

namespace {

// Memory-backed where the system offers enough of it: every write is synced, and the tests
// write many 14 MB images.
std::filesystem::path baseFolder() {
#ifndef _WIN32
    constexpr unsigned long long kEnoughBytes = 1ull << 30;
    struct statvfs info {};
    if (::statvfs("/dev/shm", &info) == 0 && (info.f_flag & ST_NOEXEC) == 0 &&
        (info.f_flag & ST_RDONLY) == 0 &&
        static_cast<unsigned long long>(info.f_bavail) * info.f_frsize >= kEnoughBytes) {
        return "/dev/shm";
    }
#endif
    return std::filesystem::temp_directory_path();
}

}  // namespace

TempDir::TempDir() {
    std::random_device random;
    const auto base = baseFolder();
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

std::vector<std::uint8_t> readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(in.tellg()));
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

void writeWholeFile(const std::string& path, const std::vector<std::uint8_t>& content) {
    writeWholeFile(path,
                   std::string_view(reinterpret_cast<const char*>(content.data()), content.size()));
}

}  // namespace tavrel::testing
