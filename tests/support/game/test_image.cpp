#include "test_image.h"

#include <algorithm>

#include "game/team_table.h"
#include "raw_image_builder.h"

namespace tavrel::testing {

const Bytes& pristineImage() {
    static const Bytes image = [] {
        build::RawImageBuilder builder;
        for (int team = 0; team < kTeamCount; ++team) {
            const Team& row = kTeams[static_cast<std::size_t>(team)];
            const auto length = static_cast<std::size_t>(team == 4 ? 10 : row.nameLength);
            Bytes name = build::encodeName(row.label);
            while (name.size() < length) name.insert(name.end(), {0x81, 0x44});
            name.resize(length);
            builder.setNameBytes(team, name);
        }
        builder.setNets(NetPattern::Plain);
        return builder.bytes();
    }();
    return image;
}

Bytes withFlag(Bytes image, int team, const Flag& flag) {
    build::RawImageBuilder builder(std::move(image));
    builder.setFlag(team, flag);
    return builder.bytes();
}

Flag unusualFlag() {
    Flag flag{0xA7, {}};
    for (std::size_t i = 0; i < flag.palette.size(); ++i)
        flag.palette[i] = static_cast<std::uint8_t>(0xC1 + 3 * i);
    return flag;
}

std::set<std::int64_t> differingOffsets(const Bytes& before, const Bytes& after) {
    std::set<std::int64_t> offsets;
    for (std::size_t i = 0; i < std::max(before.size(), after.size()); ++i) {
        if (i >= before.size() || i >= after.size() || before[i] != after[i])
            offsets.insert(static_cast<std::int64_t>(i));
    }
    return offsets;
}

}  // namespace tavrel::testing
