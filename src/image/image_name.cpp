// From the name given to the file opened.
#include "image/image_name.h"

#include <algorithm>
#include <cctype>

#include "image/container_kind.h"
#include "image/cue_sheet.h"
#include "image/image_file.h"
#include "image/whole_files.h"
#include "platform/paths.h"
#include "platform/platform.h"

namespace tavrel {
namespace {

// A sheet is a few KiB; anything larger is no sheet.
constexpr std::size_t kLargestSheet = std::size_t{1} << 20;

bool sameNameInAnyCase(const std::string& a, const std::string& b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// `path`, or the one entry of its folder whose name differs from it only in case: sheets made
// on systems that ignore case often name "GAME.BIN" for "game.bin". Empty when there is none.
std::string existingInAnyCase(const std::string& path) {
    if (sys::PathInfo info; sys::inspect(path, info).ok() && info.kind != sys::PathKind::Missing)
        return path;
    const std::string folder = folderOf(path), wanted = fileNameOf(path);
    std::vector<std::string> names;
    if (!sys::listFolder(folder, names).ok())
        return {};
    std::string found;
    for (const std::string& name : names) {
        if (sameNameInAnyCase(name, wanted)) {
            if (!found.empty())
                return {};  // two candidates: neither is surely the one meant
            found = name;
        }
    }
    return found.empty() ? found : pathIn(folder, found);
}

FileError badSheet(const std::string& sheet, CueFault fault) {
    FileError error(FileFailure::BadCueSheet, FileRole::Image, sheet);
    error.cue = std::move(fault);
    return error;
}

}  // namespace

std::string imagePathFor(const std::string& name) {
    if (!isCueSheetName(name))
        return name;
    const Bytes bytes = readFileStart(name, kLargestSheet + 1, FileRole::Image);
    if (bytes.size() > kLargestSheet)
        throw badSheet(name, {CueFault::Kind::NotASheet, 0, {}});
    const CueReading reading =
        parseCueSheet(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!reading.track)
        throw badSheet(name, reading.fault);
    std::string relative = reading.track->file;
    std::ranges::replace(relative, '\\', '/');
    const std::string path = existingInAnyCase(pathIn(folderOf(name), relative));
    if (path.empty())
        throw badSheet(
            name, {CueFault::Kind::MissingFile, reading.track->fileLine, reading.track->fileText});
    return path;
}

void refuseContainer(const ImageFile& file) {
    const std::int64_t size = file.size();
    const Bytes start =
        file.read(0, static_cast<std::size_t>(std::min<std::int64_t>(size, kContainerProbeSize)));
    if (const ContainerKind kind = recogniseContainer(start); kind != ContainerKind::None) {
        FileError error(FileFailure::NotRawImage, FileRole::Image, file.path());
        error.container = kind;
        throw error;
    }
}

}  // namespace tavrel
