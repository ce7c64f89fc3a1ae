// Small files beside the image: written whole through temporary files that a killed writer's
// successor clears away, read with a bound, and named in folders by std::filesystem's rules.
#include <gtest/gtest.h>

#include <filesystem>

#include "image/whole_files.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "test_files.h"

namespace tavrel::testing {
namespace {

std::vector<std::string> namesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(WholeFiles, AKilledWritersTemporaryFilesAreClearedByTheNextWrite) {
    TempDir dir;
    const std::string mine = ".tavrel-" + std::to_string(sys::processId()) + "-7.tmp";
    // Names of ours whose writer still runs (this program; on POSIX the first process, which
    // runs as long as the system), and names not of ours, stay. No process has an id as high as
    // 2000000000 (above every system's limit): its writer is dead, its file goes.
    std::vector<std::string> kept{".tavrel-x-1.tmp", mine, "keep.tmp"};
#ifndef _WIN32
    kept.push_back(".tavrel-1-3.tmp");
#endif
    for (const std::string& name : kept) writeWholeFile(dir.file(name), "left");
    writeWholeFile(dir.file(".tavrel-2000000000-12.tmp"), "left");
    writeFilesWhole(dir.path().string(), {{"new.flg", Bytes{'1'}}}, FileRole::FlagFile);
    kept.push_back("new.flg");
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(namesIn(dir.path()), kept);
}

TEST(WholeFiles, AFolderIsNoFileToRead) {
    TempDir dir;
    try {
        readFileStart(dir.path().string(), 10, FileRole::Plan);
        ADD_FAILURE() << "a folder was read";
    } catch (const FileError& error) {
        EXPECT_EQ(error.failure, FileFailure::NotAFile);
        EXPECT_EQ(error.role, FileRole::Plan);
    }
    writeWholeFile(dir.file("long.txt"), std::string(100, 'x'));
    EXPECT_EQ(readFileStart(dir.file("long.txt"), 10, FileRole::Plan).size(), 10u);
}

TEST(Paths, AFileNamesItsFolderWhereverItLies) {
    const std::pair<const char*, const char*> cases[] = {
        {"x.ppf", "."}, {"/x.ppf", "/"}, {"a/b/x.ppf", "a/b"}, {"../x.flg", ".."}};
    for (const auto& [path, folder] : cases) {
        EXPECT_EQ(folderOf(path), folder) << path;
        const std::string joined = pathIn(folderOf(path), fileNameOf(path));
        EXPECT_EQ(fileNameOf(joined), fileNameOf(path)) << joined;
        EXPECT_EQ(folderOf(joined), folder) << joined;
    }
}

}  // namespace
}  // namespace tavrel::testing
