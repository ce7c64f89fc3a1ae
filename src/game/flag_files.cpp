// Reading and writing .flg files.
#include "game/flag_files.h"

#include "image/whole_files.h"

namespace tavrel {
namespace {

constexpr std::size_t kMaxFileNameBytes = 255;
// A flag line is 93 bytes; reading more of a chosen file would only cost memory.
constexpr std::size_t kFlagLineReadLimit = 4096;

}  // namespace

ParsedRecord readFlagFile(const std::string& path) {
    const Bytes start = readFileStart(path, kFlagLineReadLimit, FileRole::FlagFile);
    const std::string text(start.begin(), start.end());
    return parseFlagRecord(text.substr(0, text.find_first_of("\r\n")));
}

std::optional<std::string> flagFileName(std::string_view teamName) {
    const std::string name = "Flag_" + std::string(teamName) + ".flg";
    if (name.size() > kMaxFileNameBytes)
        return std::nullopt;
    for (const char c : name) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || code < 0x20 || code == 0x7F)
            return std::nullopt;
    }
    return name;
}

void writeFlagFiles(const std::string& folder, const std::vector<FlagFile>& files) {
    std::vector<NewFile> whole;
    for (const FlagFile& file : files) {
        const std::string line = formatFlagRecord(file.flag) + "\r\n";
        whole.push_back({file.name, Bytes(line.begin(), line.end())});
    }
    writeFilesWhole(folder, whole, FileRole::FlagFile);
}

}  // namespace tavrel
