// Reading the names, the nets and the volume for the game check.
#include "game/game_check.h"

#include <cctype>

#include "game/name_codec.h"
#include "image/disc_volume.h"
#include "image/image_file.h"

namespace tavrel {
namespace {

// A stored name reads as one when it opens with a letter of the name code: neither a blank,
// a zero, nor a code the game's names never use (all of which decode as a blank).
bool opensWithLetter(const Bytes& name) {
    const std::string text = decodeNamePiece(name);
    return !text.empty() && std::isalpha(static_cast<unsigned char>(text[0]));
}

ByteRun firstNamePiece(int team) {
    if (team == kTwoPieceNameTeam)
        return kTwoPieceName[0];
    const Team& row = kTeams[static_cast<std::size_t>(team)];
    return {row.nameOffset, row.nameLength};
}

}  // namespace

GameCheck checkGame(const ImageFile& file) {
    GameCheck check;
    check.size = file.size();
    if (check.size < kNetsOffset + 2) {
        check.tooShort = true;
        return check;
    }
    std::vector<ByteRun> names;
    for (int team = 0; team < kTeamCount; ++team) names.push_back(firstNamePiece(team));
    for (const Bytes& name : file.read(names)) check.namedTeams += opensWithLetter(name);
    check.nets = netPattern(file.read(kNetsOffset, 2));
    if (const std::optional<DiscVolume> volume = readDiscVolume(file))
        check.volume = volume->mode == 2 && volume->extendedArchitecture
                           ? GameCheck::Volume::ForConsole
                           : GameCheck::Volume::Other;
    return check;
}

}  // namespace tavrel
