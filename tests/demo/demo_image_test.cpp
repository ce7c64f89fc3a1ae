// The demo image holds what the editor should show, and its tool never overwrites by surprise.
#include <gtest/gtest.h>

#include <cstdlib>

#include "catalog/catalog.h"
#include "demo_image_content.h"
#include "game/game_image.h"
#include "image/image_session.h"
#include "test_files.h"

namespace tavrel::testing {
namespace {

TEST(DemoImageTool, WritesTheDemoOnceAndReplacesItOnlyWhenForced) {
    TempDir dir;
    const std::string target = dir.file("demo.bin");
    const auto run = [&](const std::string& options) {
        return std::system(
            (std::string(TAVREL_DEMO_TOOL) + " " + options + " '" + target + "' >/dev/null 2>&1")
                .c_str());
    };
    EXPECT_EQ(run(""), 0);
    {
        ImageSession file(target);
        const GameImage game(file);
        EXPECT_EQ(game.nets(), NetPattern::Plain);
        EXPECT_EQ(game.teamName(4), "Portu");
        EXPECT_EQ(game.teamName(37), "Usa  ");
        for (int team = 0; team < kTeamCount; ++team) {
            const Flag design = catalogFlag(demoDesign(team));
            EXPECT_EQ(game.readType(team), design.type) << team;
            if (hasPalette(team)) {
                EXPECT_EQ(game.readFlag(team), design) << team;
            }
        }
    }
    writeWholeFile(target, std::string("mine"));
    EXPECT_NE(run(""), 0);
    EXPECT_EQ(readWholeFile(target).size(), 4u) << "an existing file is never overwritten";
    EXPECT_EQ(run("--force"), 0);
    EXPECT_EQ(readWholeFile(target), demoImage());
}

}  // namespace
}  // namespace tavrel::testing
