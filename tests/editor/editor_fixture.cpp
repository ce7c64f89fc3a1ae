#include "editor_fixture.h"

#include "layout/game_layout.h"
#include "layout/team_table.h"

namespace tavrel::testing {

const Bytes& pristineImage() {
    static const Bytes image = [] {
        build::RawImageBuilder builder;
        for (const TeamEntry& team : kTeamTable) {
            if (team.nameOffset == kNoName)
                continue;
            // Letters of the label, padded with full stops to the entry's length; blanks stay
            // single bytes as the game stores them.
            Bytes name = build::encodeName(team.label);
            while (name.size() < static_cast<std::size_t>(team.nameLength)) {
                name.insert(name.end(), {0x81, 0x44});
            }
            name.resize(static_cast<std::size_t>(team.nameLength));
            builder.setNameBytes(team.index, name);
        }
        builder.setPortugalName(build::encodeName("Po"), build::encodeName("rtu"));
        builder.setNetBytes(0x00, 0x65);
        return builder.bytes();
    }();
    return image;
}

std::set<std::int64_t> typeSlotOffsets(int team) {
    std::set<std::int64_t> offsets;
    for (const std::int64_t copy : kTypeTableCopyOffsets) offsets.insert(copy + typeSlot(team));
    return offsets;
}

std::set<std::int64_t> paletteOffsets(int team) {
    std::set<std::int64_t> offsets;
    std::int32_t palette = 0;
    OffColor(team, palette);
    if (palette == 0)
        return offsets;
    for (const ByteRun& run : paletteRuns(palette)) {
        for (std::int64_t p = run.position; p < run.position + run.length; ++p) {
            offsets.insert(p - 1);
        }
    }
    return offsets;
}

void EditorTest::SetUp() {
    imagePath = writeImage("game.bin", pristineImage());
    window.folder = dir.path().string();
    window.dialogAnswers.push_back(imagePath);
    ASSERT_EQ(editor.startUp(), std::nullopt);
}

std::string EditorTest::writeImage(const std::string& name, const Bytes& image) {
    const std::string path = dir.file(name);
    writeWholeFile(path, image);
    return path;
}

std::set<std::int64_t> EditorTest::changedOffsets() const {
    const auto offsets = differingOffsets(pristineImage(), image());
    return {offsets.begin(), offsets.end()};
}

}  // namespace tavrel::testing
