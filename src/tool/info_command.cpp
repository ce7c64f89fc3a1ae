// info: what an image file is, as a user comparing dumps needs it: size, sectors by kind, the
// disc's volume and boot file, whether it looks like the game, and its CRC32, MD5 and SHA-1 as
// disc archives list them. Only reads: no change log is opened, nothing is recovered.
#include <cstdio>
#include <iostream>

#include "game/game_check.h"
#include "image/container_kind.h"
#include "image/disc_volume.h"
#include "image/image_file.h"
#include "image/image_name.h"
#include "tool/command_line.h"
#include "tool/command_support.h"
#include "walk/file_digests.h"

namespace tavrel::tool {
namespace {

constexpr const char* kHelp =
    "dice cos'è un'immagine: dimensione, settori, volume, se è il gioco, CRC32, MD5 e SHA-1";

std::string hex(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    for (const std::uint8_t byte : bytes) text += hexByte(byte);
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

const char* containerName(ContainerKind kind) {
    switch (kind) {
        case ContainerKind::Chd:
            return "CHD";
        case ContainerKind::Ecm:
            return "ECM";
        case ContainerKind::Pbp:
            return "PBP";
        case ContainerKind::Archive:
            return "archivio";
        case ContainerKind::Iso2048:
            return "ISO, settori da 2048 byte";
        case ContainerKind::Iso2336:
            return "settori da 2336 byte";
        case ContainerKind::None:
            break;
    }
    return "";
}

// What the image holds beside its digests; none of it for a container.
struct Description {
    ContainerKind container = ContainerKind::None;
    std::optional<DiscVolume> volume;
    std::optional<std::string> bootFile;
    std::optional<GameCheck> game;
};

Description describeImage(const ImageFile& file) {
    Description found;
    const Bytes start = file.read(
        0, static_cast<std::size_t>(std::min<std::int64_t>(file.size(), kContainerProbeSize)));
    found.container = recogniseContainer(start);
    if (found.container != ContainerKind::None)
        return found;
    found.volume = readDiscVolume(file);
    found.bootFile = bootFileName(file);
    found.game = checkGame(file);
    return found;
}

void printText(const ImageFile& file, const Description& found, const FileDigests& digests,
               Streams io) {
    const std::int64_t size = file.size();
    io.out << "file:        " << file.path() << '\n' << "dimensione:  " << size << " byte";
    if (found.container != ContainerKind::None) {
        io.out << "\ncontenitore: " << containerName(found.container) << '\n';
    } else {
        io.out << ", " << size / kRawSectorSize << " settori da " << kRawSectorSize << " byte"
               << (size % kRawSectorSize ? " e " + std::to_string(size % kRawSectorSize) + " byte"
                                         : "")
               << '\n';
        for (const auto& [kind, name, key] : kSectorKindNames) {
            if (digests.count(kind) > 0)
                io.out << "  " << name << ": " << digests.count(kind) << '\n';
        }
        io.out << "volume:      "
               << (found.volume
                       ? found.volume->volumeId + " (sistema: " + found.volume->systemId + ")"
                       : "nessun descrittore ISO 9660 nel settore 16")
               << '\n';
        if (found.bootFile)
            io.out << "avvio:       " << *found.bootFile << '\n';
        io.out << "gioco:       "
               << (found.game->passes() ? "sì" : "non sembra: " + joinedReasons(*found.game))
               << '\n';
    }
    io.out << "CRC32:       "
           << hex({std::uint8_t(digests.crc32 >> 24), std::uint8_t(digests.crc32 >> 16),
                   std::uint8_t(digests.crc32 >> 8), std::uint8_t(digests.crc32)})
           << "\nMD5:         " << hex(digests.md5) << "\nSHA-1:       " << hex(digests.sha1)
           << '\n';
}

std::string jsonOrNull(const std::optional<std::string>& text) {
    return text ? json(*text) : "null";
}

void printJson(const ImageFile& file, const Description& found, const FileDigests& digests,
               Streams io) {
    char crc[16];
    std::snprintf(crc, sizeof crc, "%08x", digests.crc32);
    io.out << "{\"file\": " << json(file.path()) << ", \"size\": " << file.size()
           << ", \"container\": "
           << (found.container == ContainerKind::None ? "null"
                                                      : json(containerName(found.container)));
    if (found.game) {
        io.out << ", \"sectors\": {";
        for (const auto& [kind, name, key] : kSectorKindNames)
            io.out << (kind == kSectorKindNames[0].kind ? "" : ", ") << json(key) << ": "
                   << digests.count(kind);
        io.out << "}, \"volume\": "
               << (found.volume ? "{\"system\": " + json(found.volume->systemId) +
                                      ", \"name\": " + json(found.volume->volumeId) + "}"
                                : "null")
               << ", \"boot_file\": " << jsonOrNull(found.bootFile)
               << ", \"game\": " << (found.game->passes() ? "true" : "false")
               << ", \"game_reasons\": [";
        const std::vector<std::string> reasons = gameCheckReasons(*found.game);
        for (std::size_t i = 0; i < reasons.size(); ++i)
            io.out << (i == 0 ? "" : ", ") << json(reasons[i]);
        io.out << ']';
    }
    io.out << ", \"crc32\": " << json(crc) << ", \"md5\": " << json(hex(digests.md5))
           << ", \"sha1\": " << json(hex(digests.sha1)) << "}\n";
}

int info(const ImageOptions& options, Streams io) {
    return guarded(io, [&] {
        const ImageFile file(imagePathFor(options.image), ImageAccess::ReadOnly);
        const Description found = describeImage(file);
        const FileDigests digests = digestFile(file, progressBar("lettura", io));
        (options.json ? printJson : printText)(file, found, digests, io);
        return kSuccess;
    });
}

}  // namespace

void addInfoCommand(CLI::App& app, Streams io, int& status) {
    addCommand(app, "info", kHelp, io, status, info);
}

}  // namespace tavrel::tool
