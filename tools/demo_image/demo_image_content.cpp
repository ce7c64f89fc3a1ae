// The demo image's content: every place the editor touches holds plausible data (names, five
// identical type tables, palettes taken from catalog designs, plain goal nets); everything else
// is zero but the sector framing.
#include "demo_image_content.h"

#include "raw_image_builder.h"

namespace tavrel {
namespace {

// The team's label as the game would store it in `length` bytes: full-width letters, blanks
// as single bytes, cut where the next letter would not fit; a shorter name is padded with zero
// bytes, which the editor shows as blanks.
Bytes fittedName(std::string_view label, std::size_t length) {
    Bytes name;
    for (const char c : label) {
        const Bytes letter = build::encodeName(std::string_view(&c, 1));
        if (name.size() + letter.size() > length)
            break;
        name.insert(name.end(), letter.begin(), letter.end());
    }
    name.resize(length, 0x00);
    return name;
}

std::size_t nameLength(int team) {
    if (team == kTwoPieceNameTeam)
        return static_cast<std::size_t>(kTwoPieceName[0].length + kTwoPieceName[1].length);
    return static_cast<std::size_t>(kTeams[static_cast<std::size_t>(team)].nameLength);
}

}  // namespace

Bytes demoImage() {
    build::RawImageBuilder builder(build::kGameImageSectors, build::UserDataFill::Zero);
    for (int team = 0; team < kTeamCount; ++team) {
        builder.setNameBytes(
            team, fittedName(kTeams[static_cast<std::size_t>(team)].label, nameLength(team)));
        builder.setFlag(team, catalogFlag(demoDesign(team)));
    }
    builder.setNets(NetPattern::Plain);
    return builder.bytes();
}

}  // namespace tavrel
