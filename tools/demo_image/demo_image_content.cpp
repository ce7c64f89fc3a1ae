// The demo image's content: every place the editor touches holds plausible data (names, five
// identical type tables, palettes taken from catalog designs, plain goal nets); everything else
// is zero but the sector framing.
#include "demo_image_content.h"

#include "catalog/catalog.h"
#include "catalog/flag_record.h"
#include "layout/game_layout.h"
#include "layout/team_table.h"
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

}  // namespace

Bytes demoImage() {
    build::RawImageBuilder builder(build::kGameImageSectors, build::UserDataFill::Zero);
    for (const TeamEntry& team : kTeamTable) {
        if (team.nameOffset != kNoName) {
            builder.setNameBytes(team.index,
                                 fittedName(team.label, static_cast<std::size_t>(team.nameLength)));
        }
        const std::string_view record = catalogRecord(demoDesign(team.index));
        builder.setTypeByteAllCopies(typeSlot(team.index), fromByteText(typeCodeOf(record))[0]);
        if (team.paletteOffset != kNoPalette) {
            builder.setPalette(team.index, fromByteText(colourFieldOf(record)));
        }
    }
    const Bytes portugal =
        fittedName(teamLabel(kPortugalIndex), kPortugalNameLength1 + kPortugalNameLength2);
    builder.setPortugalName(std::span(portugal).first(kPortugalNameLength1),
                            std::span(portugal).subspan(kPortugalNameLength1));
    builder.setNetBytes(0x00, 0x65);
    return builder.bytes();
}

}  // namespace tavrel
