// Writes a demo game image, so that the editor can be tried without the game: every place the
// editor touches holds plausible data (names, five identical type tables, palettes taken from
// catalog designs, plain goal nets); everything else is zero but the sector framing.
//
//   tavrel-demo-image [--force] FILE
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

#include "catalog/catalog.h"
#include "catalog/flag_record.h"
#include "layout/game_layout.h"
#include "layout/team_table.h"
#include "raw_image_builder.h"

namespace tavrel {
namespace {

// The team's label as the game would store it in `length` bytes: full-width letters, blanks
// as single bytes, cut where the next letter would not fit; a shorter name is padded with
// single-byte blanks.
Bytes fittedName(std::string_view label, std::size_t length) {
    Bytes name;
    for (const char c : label) {
        const Bytes letter = build::encodeName(std::string_view(&c, 1));
        if (name.size() + letter.size() > length)
            break;
        name.insert(name.end(), letter.begin(), letter.end());
    }
    name.resize(length, 0x20);
    return name;
}

// Team i wears design 101 + i: the demo starts with 86 different flags.
std::string_view demoRecord(int team) {
    return catalogRecord(kFirstCatalogId + team);
}

Bytes demoImage() {
    build::RawImageBuilder builder(build::kGameImageSectors, build::UserDataFill::Zero);
    for (const TeamEntry& team : kTeamTable) {
        if (team.nameOffset != kNoName) {
            builder.setNameBytes(team.index,
                                 fittedName(team.label, static_cast<std::size_t>(team.nameLength)));
        }
        const std::string_view record = demoRecord(team.index);
        builder.setTypeByteAllCopies(typeSlot(team.index), fromByteText(typeCodeOf(record))[0]);
        if (team.paletteOffset != kNoPalette) {
            builder.setPalette(team.index, fromByteText(colourFieldOf(record)));
        }
    }
    const Bytes portugal = fittedName(teamLabel(kPortugalIndex), 10);
    builder.setPortugalName(std::span(portugal).first(4), std::span(portugal).subspan(4));
    builder.setNetBytes(0x00, 0x65);
    return builder.bytes();
}

}  // namespace
}  // namespace tavrel

int main(int argc, char** argv) {
    bool force = false;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--force") {
            force = true;
        } else if (path.empty() && !argument.starts_with("-")) {
            path = argument;
        } else {
            path.clear();
            break;
        }
    }
    if (path.empty()) {
        std::cerr << "usage: tavrel-demo-image [--force] FILE\n";
        return 64;
    }
    if (std::filesystem::exists(path) && !force) {
        std::cerr << path << " already exists; not overwritten (use --force to replace it)\n";
        return 1;
    }
    try {
        tavrel::build::RawImageBuilder(tavrel::demoImage()).writeTo(path);
    } catch (const std::exception& error) {
        std::cerr << "cannot write " << path << ": " << error.what() << '\n';
        return 1;
    }
    std::cout << "Demo image written to " << std::filesystem::absolute(path).string() << '\n';
    return 0;
}
