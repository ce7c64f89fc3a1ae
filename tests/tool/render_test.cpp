// render's PNG files read back by an independent reader: the same pixels as the renderer's.
#include "catalog/catalog.h"
#include "catalog/flag_draft.h"
#include "tool_fixture.h"

namespace tavrel::testing {
namespace {

#ifndef _WIN32  // Python is Linux's; the cross-system test compares Windows' files with Linux's
TEST_F(ToolTest, RenderWritesWhatTheRendererDraws) {
    Flag custom = catalogFlag(182);
    setColourWord(custom, 1, kTransparentWord);
    writeWholeFile(dir.file("custom.flg"), formatFlagRecord(custom) + "\r\n");
    FlagDraft changed = FlagDraft::ofDesign(182);
    changed.setColour(3, {0x12, 0x34, 0x56});
    changed.setType(0x07);
    // Pitch and ball has a transparent colour; Denmark wears design 114 in the demo image.
    const std::pair<std::string, FlagPicture> cases[] = {
        {"--design 9", *FlagDraft::ofDesign(109).picture()},
        {"game.bin denmark --scale 5", *FlagDraft::ofDesign(114).picture(5)},
        {"--file custom.flg --scale 3", *FlagDraft::ofFlag(custom).picture(3)},
        {"--design 82 --colour 3=#123456 --type 07 --scale 2", *changed.picture(2)},
    };
    for (const auto& [arguments, expected] : cases) {
        const ToolRun run = tool("render " + arguments + " --png out.png");
        ASSERT_EQ(run.status, 0) << arguments << ": " << run.err;
        ASSERT_EQ(std::system(("python3 " TAVREL_READ_PNG " " + dir.file("out.png") + " " +
                               dir.file("out.rgba"))
                                  .c_str()),
                  0);
        Bytes pixels = {std::uint8_t(expected.width),
                        std::uint8_t(expected.width >> 8),
                        0,
                        0,
                        std::uint8_t(expected.height),
                        0,
                        0,
                        0};
        for (const Rgba8& p : expected.pixels)
            pixels.insert(pixels.end(), {p.red, p.green, p.blue, p.alpha});
        EXPECT_TRUE(readWholeFile(dir.file("out.rgba")) == pixels) << arguments;
    }
}
#endif

}  // namespace
}  // namespace tavrel::testing
