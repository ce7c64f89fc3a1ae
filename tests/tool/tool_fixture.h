// tavrel-tool run as a user runs it, in a folder of its own holding a demo image.
#pragma once

#include <gtest/gtest.h>

#include "demo_image_content.h"
#include "game/flag_record.h"
#include "program_run.h"
#include "run_here.h"
#include "test_files.h"
#include "test_image.h"

namespace tavrel::testing {

class ToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeWholeFile(image, demoImage());
        writeWholeFile(dir.file("a.flg"), formatFlagRecord(unusualFlag()) + "\r\n");
    }

    // Runs tavrel-tool with `arguments` (words as a shell reads them) from the test folder;
    // `environment` ("NAME=value ...") goes before it.
    ToolRun tool(const std::string& arguments, const std::string& environment = "") {
        const int status =
            runProgram(TAVREL_TOOL, arguments, {dir.path(), environment, "out.txt", "err.txt"});
        return {status, text("out.txt"), text("err.txt")};
    }
    std::string text(const std::string& name) {
        const Bytes bytes = readWholeFile(dir.file(name));
        return {bytes.begin(), bytes.end()};
    }

    TempDir dir;
    std::string image = dir.file("game.bin");
};

}  // namespace tavrel::testing
