// Reading a .cue sheet line by line.
#include "image/cue_sheet.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace tavrel {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool sameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

// The first word of `text`, and `text` moved past it.
std::string_view nextWord(std::string_view& text) {
    text = trimmed(text);
    const auto end = std::min(text.find_first_of(kBlanks), text.size());
    const std::string_view word = text.substr(0, end);
    text.remove_prefix(end);
    return word;
}

// FILE "name with blanks.bin" BINARY, or FILE name.bin BINARY: a bare name runs up to the type,
// the line's last word, so that a name with blanks but no quotes still reads whole.
std::string fileName(std::string_view rest) {
    rest = trimmed(rest);
    if (rest.starts_with('"')) {
        const auto close = rest.find('"', 1);
        return std::string(rest.substr(1, close == std::string_view::npos ? close : close - 1));
    }
    const auto type = rest.find_last_of(kBlanks);
    return std::string(trimmed(type == std::string_view::npos ? rest : rest.substr(0, type)));
}

// An absolute name ("/x.bin", "\x.bin", "C:x.bin") or one that climbs out of the sheet's
// folder through "..": the sheet would send a write outside the folder the user chose.
bool leavesFolder(std::string_view name) {
    if (name.starts_with('/') || name.starts_with('\\') ||
        (name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0]))))
        return true;
    for (std::size_t start = 0; start <= name.size();) {
        const auto end = std::min(name.find_first_of("/\\", start), name.size());
        if (name.substr(start, end - start) == "..")
            return true;
        start = end + 1;
    }
    return false;
}

// "01", "1", "001".
bool isTrackOne(std::string_view number) {
    return !number.empty() && number.back() == '1' &&
           number.find_first_not_of('0') == number.size() - 1;
}

std::vector<std::string_view> lines(std::string_view text) {
    std::vector<std::string_view> found;
    while (!text.empty()) {
        const auto end = std::min(text.find_first_of("\r\n"), text.size());
        found.push_back(text.substr(0, end));
        // CR LF ends one line, as does a lone CR or LF.
        const std::size_t skip = text.substr(end).starts_with("\r\n") ? 2 : 1;
        text.remove_prefix(std::min(end + skip, text.size()));
    }
    return found;
}

}  // namespace

CueReading parseCueSheet(std::string_view text) {
    if (text.find('\0') != std::string_view::npos)
        return {std::nullopt, {CueFault::Kind::NotASheet, 0, {}}};
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    const std::vector<std::string_view> all = lines(text);
    std::optional<CueDataTrack> file;  // the last FILE read
    std::optional<CueDataTrack> track;
    bool inFirstTrack = false, sawCommand = false;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const int number = static_cast<int>(i + 1);
        std::string_view rest = all[i];
        const std::string_view keyword = nextWord(rest);
        const auto fault = [&](CueFault::Kind kind) {
            return CueReading{std::nullopt, {kind, number, std::string(trimmed(all[i]))}};
        };
        if (sameWord(keyword, "FILE")) {
            sawCommand = true;
            inFirstTrack = false;
            file = CueDataTrack{fileName(rest), number, std::string(trimmed(all[i]))};
        } else if (sameWord(keyword, "TRACK")) {
            sawCommand = true;
            inFirstTrack = false;
            const std::string_view trackNumber = nextWord(rest);
            const std::string_view mode = nextWord(rest);
            if (!isTrackOne(trackNumber) || track)
                continue;
            if (!file)
                return fault(CueFault::Kind::NoDataTrack);
            if (!sameWord(mode, "MODE2/2352") && !sameWord(mode, "MODE1/2352"))
                return fault(CueFault::Kind::NotRawTrack);
            if (leavesFolder(file->file))
                return {std::nullopt,
                        {CueFault::Kind::OutsideFolder, file->fileLine, file->fileText}};
            track = file;
            inFirstTrack = true;
        } else if (inFirstTrack && sameWord(keyword, "INDEX")) {
            // The game's offsets count from the data track's first sector: it must open its file.
            const std::string_view index = nextWord(rest);
            if ((index == "01" || index == "1") && nextWord(rest) != "00:00:00")
                return fault(CueFault::Kind::LateStart);
        }
    }
    if (track)
        return {track, {}};
    return {std::nullopt,
            {sawCommand ? CueFault::Kind::NoDataTrack : CueFault::Kind::NotASheet, 0, {}}};
}

bool isCueSheetName(std::string_view path) {
    return path.size() >= 4 && sameWord(path.substr(path.size() - 4), ".cue");
}

}  // namespace tavrel
