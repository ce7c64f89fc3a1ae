// Reading the volume descriptor, the root directory and SYSTEM.CNF.
#include "image/disc_volume.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "image/image_file.h"

namespace tavrel {
namespace {

constexpr std::int64_t kDescriptorSector = 16;
// Offsets inside a volume descriptor, and inside a directory record.
constexpr std::size_t kSystemIdAt = 8, kVolumeIdAt = 40, kIdLength = 32;
constexpr std::size_t kRootRecordAt = 156;
constexpr std::size_t kXaMarkAt = 1024;
constexpr std::string_view kXaMark = "CD-XA001";
constexpr std::size_t kExtentAt = 2, kDataLengthAt = 10, kNameLengthAt = 32, kNameAt = 33;
// A root directory or SYSTEM.CNF larger than this is read no further.
constexpr std::int64_t kLargestRead = 16;  // sectors

std::string_view text(const Bytes& bytes, std::size_t at, std::size_t length) {
    return {reinterpret_cast<const char*>(bytes.data()) + at, length};
}

std::uint32_t little32(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                      static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

std::string withoutTrailingBlanks(std::string_view field) {
    const auto end = field.find_last_not_of(std::string_view(" \0", 2));
    return std::string(field.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

// The 2048 bytes of user data of sector `lba`, and its mode; none past the end of the file or
// for a sector without sync or of no data mode.
struct UserData {
    Bytes bytes;
    int mode = 0;
};
std::optional<UserData> userData(const ImageFile& file, std::int64_t lba) {
    if (lba < 0 || (lba + 1) * kRawSectorSize > file.size())
        return std::nullopt;
    const Bytes sector = file.read(lba * kRawSectorSize, kRawSectorSize);
    const int mode = sector[kModeAt];
    if (!std::equal(kSectorSync.begin(), kSectorSync.end(), sector.begin()) ||
        (mode != 1 && mode != 2))
        return std::nullopt;
    const std::size_t at = mode == 1 ? kSubheaderAt : kSectorUserDataStart;
    return UserData{Bytes(sector.begin() + static_cast<long>(at),
                          sector.begin() + static_cast<long>(at + kSectorUserDataSize)),
                    mode};
}

// Sector 16's user data when it is a primary volume descriptor.
std::optional<UserData> descriptorSector(const ImageFile& file) {
    std::optional<UserData> data = userData(file, kDescriptorSector);
    if (!data || data->bytes[0] != 1 || text(data->bytes, 1, 5) != "CD001")
        return std::nullopt;
    return data;
}

// True when `name` is `upper` in any case.
bool namedInAnyCase(std::string_view name, std::string_view upper) {
    return std::ranges::equal(name, upper, [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) == b;
    });
}

// The bytes of an extent: `length` bytes from sector `lba` on, no more than kLargestRead sectors.
std::optional<Bytes> extent(const ImageFile& file, std::uint32_t lba, std::uint32_t length) {
    Bytes bytes;
    const std::int64_t sectors =
        (std::int64_t{length} + kSectorUserDataSize - 1) / kSectorUserDataSize;
    if (sectors > kLargestRead)
        return std::nullopt;
    for (std::int64_t s = 0; s < sectors; ++s) {
        const std::optional<UserData> data = userData(file, lba + s);
        if (!data)
            return std::nullopt;
        bytes.insert(bytes.end(), data->bytes.begin(), data->bytes.end());
    }
    bytes.resize(length);
    return bytes;
}

// The extent and length of the record named `wanted` ("SYSTEM.CNF", its ";1" version aside) in
// a directory's bytes. Records never cross a sector: a zero length moves to the next one.
std::optional<std::pair<std::uint32_t, std::uint32_t>> findRecord(const Bytes& directory,
                                                                  std::string_view wanted) {
    for (std::size_t at = 0; at < directory.size();) {
        const std::size_t length = directory[at];
        if (length == 0) {
            at = (at / kSectorUserDataSize + 1) * kSectorUserDataSize;
            continue;
        }
        if (length < kNameAt || at + length > directory.size())
            return std::nullopt;
        std::string_view name =
            text(directory, at + kNameAt,
                 std::min<std::size_t>(directory[at + kNameLengthAt], length - kNameAt));
        name = name.substr(0, name.find(';'));
        if (namedInAnyCase(name, wanted))
            return std::pair{little32(directory, at + kExtentAt),
                             little32(directory, at + kDataLengthAt)};
        at += length;
    }
    return std::nullopt;
}

// "BOOT = cdrom:\ABCD_123.45;1" gives "ABCD_123.45".
std::optional<std::string> bootLine(std::string_view content) {
    while (!content.empty()) {
        const auto end = std::min(content.find_first_of("\r\n"), content.size());
        std::string_view line = content.substr(0, end);
        content.remove_prefix(std::min(end + 1, content.size()));
        const auto equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        std::string_view key = line.substr(0, equals);
        key = key.substr(0, key.find_last_not_of(" \t") + 1);
        key.remove_prefix(std::min(key.find_first_not_of(" \t"), key.size()));
        if (!namedInAnyCase(key, "BOOT"))
            continue;
        std::string_view value = line.substr(equals + 1);
        value.remove_prefix(std::min(value.find_last_of("\\/:") + 1, value.size()));
        value = value.substr(0, std::min(value.find_first_of("; \t"), value.size()));
        if (!value.empty())
            return std::string(value);
    }
    return std::nullopt;
}

}  // namespace

std::optional<DiscVolume> readDiscVolume(const ImageFile& file) {
    const std::optional<UserData> data = descriptorSector(file);
    if (!data)
        return std::nullopt;
    return DiscVolume{data->mode, text(data->bytes, kXaMarkAt, kXaMark.size()) == kXaMark,
                      withoutTrailingBlanks(text(data->bytes, kSystemIdAt, kIdLength)),
                      withoutTrailingBlanks(text(data->bytes, kVolumeIdAt, kIdLength))};
}

std::optional<std::string> bootFileName(const ImageFile& file) {
    const std::optional<UserData> descriptor = descriptorSector(file);
    if (!descriptor)
        return std::nullopt;
    const std::optional<Bytes> root =
        extent(file, little32(descriptor->bytes, kRootRecordAt + kExtentAt),
               little32(descriptor->bytes, kRootRecordAt + kDataLengthAt));
    if (!root)
        return std::nullopt;
    const auto record = findRecord(*root, "SYSTEM.CNF");
    if (!record)
        return std::nullopt;
    const std::optional<Bytes> content = extent(file, record->first, record->second);
    if (!content)
        return std::nullopt;
    return bootLine(text(*content, 0, content->size()));
}

}  // namespace tavrel
