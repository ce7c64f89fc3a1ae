// Temporary folders and whole files for tests that work on real files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::testing {

// A fresh folder, removed with everything in it.
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

std::vector<std::uint8_t> readWholeFile(const std::string& path);
void writeWholeFile(const std::string& path, std::string_view content);
void writeWholeFile(const std::string& path, const std::vector<std::uint8_t>& content);

}  // namespace tavrel::testing
