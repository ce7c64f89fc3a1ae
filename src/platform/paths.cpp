// Paths through std::filesystem, UTF-8 in and out on every system.
#include "platform/paths.h"

#include <filesystem>

namespace tavrel {
namespace {

std::filesystem::path fromUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string toUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace

std::string folderOf(const std::string& path) {
    const std::filesystem::path folder = fromUtf8(path).parent_path();
    return folder.empty() ? "." : toUtf8(folder);
}

std::string fileNameOf(const std::string& path) {
    return toUtf8(fromUtf8(path).filename());
}

std::string withExtension(const std::string& path, const std::string& extension) {
    return toUtf8(fromUtf8(path).replace_extension(fromUtf8(extension)));
}

std::string pathIn(const std::string& folder, const std::string& name) {
    return toUtf8(fromUtf8(folder) / fromUtf8(name));
}

}  // namespace tavrel
