// Temporary folders and whole-file comparison for tests that work on real files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "image/byte_text.h"

namespace tavrel::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

Bytes readWholeFile(const std::string& path);
void writeWholeFile(const std::string& path, std::string_view content);
void writeWholeFile(const std::string& path, const Bytes& content);

// 0-based offsets where the two byte sequences differ (a length difference counts from the
// shorter one's end).
std::vector<std::int64_t> differingOffsets(const Bytes& before, const Bytes& after);

}  // namespace tavrel::testing
