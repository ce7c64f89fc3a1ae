// The demo tool writes the demo image (whose content the tool's tests read through tavrel-tool)
// and never overwrites a file by surprise.
#include <gtest/gtest.h>

#include <cstdlib>

#include "demo_image_content.h"
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
    EXPECT_EQ(readWholeFile(target), demoImage());
    writeWholeFile(target, std::string("mine"));
    EXPECT_NE(run(""), 0);
    EXPECT_EQ(readWholeFile(target).size(), 4u) << "an existing file is never overwritten";
    EXPECT_EQ(run("--force"), 0);
    EXPECT_EQ(readWholeFile(target), demoImage());
}

}  // namespace
}  // namespace tavrel::testing
