// Reading and planning the game's places in an image.
#include "game/game_image.h"

#include <algorithm>
#include <stdexcept>

#include "game/name_codec.h"
#include "journal/image_session.h"

namespace tavrel {
namespace {

const Team& teamRow(int team) {
    if (!isTeam(team))
        throw std::out_of_range("team index " + std::to_string(team));
    return kTeams[static_cast<std::size_t>(team)];
}

ByteChange unchanged(const ImageFile& file, std::int64_t offset, std::size_t count) {
    Bytes bytes = file.read(offset, count);
    return {offset, bytes, bytes};
}

}  // namespace

std::string GameImage::teamName(int team) const {
    const Team& row = teamRow(team);
    if (team == kTwoPieceNameTeam) {
        std::string name;
        for (const ByteRun& piece : kTwoPieceName)
            name +=
                decodeNamePiece(file().read(piece.offset, static_cast<std::size_t>(piece.length)));
        return name;
    }
    return decodeNamePiece(file().read(row.nameOffset, static_cast<std::size_t>(row.nameLength)));
}

std::uint8_t GameImage::readType(int team) const {
    teamRow(team);
    return file().read(kTypeTableCopies[0] + typeSlot(team), 1)[0];
}

Flag GameImage::readFlag(int team) const {
    if (!hasPalette(team))
        throw std::invalid_argument("team " + std::to_string(team) + " has no palette");
    Flag flag;
    flag.type = readType(team);
    auto next = flag.palette.begin();
    for (const ByteRun& run : paletteRuns(team)) {
        const Bytes part = file().read(run.offset, static_cast<std::size_t>(run.length));
        next = std::copy(part.begin(), part.end(), next);
    }
    return flag;
}

ImageEdit GameImage::planFlags(std::span<const TeamFlag> flags) const {
    // Every place of the edit, read together: the type-table copies, then the palette runs of
    // each team's last flag.
    std::vector<ByteRun> places;
    for (const std::int64_t copy : kTypeTableCopies) places.push_back({copy, kTypeTableSize});
    std::vector<const TeamFlag*> palettes;
    for (const TeamFlag& entry : flags) {
        teamRow(entry.team);
        const auto later =
            std::find_if(&entry + 1, flags.data() + flags.size(),
                         [&](const TeamFlag& other) { return other.team == entry.team; });
        if (later != flags.data() + flags.size())
            continue;  // the team's last flag is the one written
        for (const ByteRun& run : paletteRuns(entry.team)) {
            places.push_back(run);
            palettes.push_back(&entry);
        }
    }
    const std::vector<Bytes> now = file().read(places);
    ImageEdit edit;
    for (std::size_t i = 0; i < places.size(); ++i)
        edit.changes.push_back({places[i].offset, now[i], now[i]});
    for (std::size_t copy = 0; copy < kTypeTableCopies.size(); ++copy) {
        for (const TeamFlag& entry : flags)
            edit.changes[copy].after[static_cast<std::size_t>(typeSlot(entry.team))] =
                entry.flag.type;
    }
    // A split palette's second run follows its first: both take the next bytes of its flag.
    for (std::size_t i = kTypeTableCopies.size(), p = 0; i < places.size(); ++i, ++p) {
        const bool second = p > 0 && palettes[p - 1] == palettes[p];
        const std::size_t from = second ? static_cast<std::size_t>(places[i - 1].length) : 0;
        std::copy_n(palettes[p]->flag.palette.begin() + static_cast<long>(from), places[i].length,
                    edit.changes[i].after.begin());
    }
    checkEdit(file(), edit);
    return edit;
}

ImageEdit GameImage::planFlag(int team, const Flag& flag) const {
    const TeamFlag entry{team, flag};
    return planFlags(std::span(&entry, 1));
}

std::optional<NetPattern> GameImage::nets() const {
    return netPattern(file().read(kNetsOffset, 2));
}

ImageEdit GameImage::planNets(NetPattern pattern) const {
    ByteChange change = unchanged(file(), kNetsOffset, 2);
    const auto& bytes = pattern == NetPattern::Plain ? kPlainNets : kDiamondNets;
    std::copy(bytes.begin(), bytes.end(), change.after.begin());
    ImageEdit edit{{std::move(change)}, {}};
    checkEdit(file(), edit);
    return edit;
}

const ImageFile& GameImage::file() const {
    return session_.file();
}

void GameImage::apply(const ImageEdit& edit) {
    session_.apply(edit);
}

}  // namespace tavrel
