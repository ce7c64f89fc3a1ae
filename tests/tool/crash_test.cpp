// tavrel-tool stopped or failing at chosen system calls (the preload fault shim), pipes where
// files belong, damaged logs and other names of the image: what the next opening makes of it.
// Linux only: the shim is preloaded by its dynamic loader. Power cuts: power_cut_test.cpp.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>

#include "catalog/catalog.h"
#include "journal/image_session.h"
#include "tool_fixture.h"

namespace tavrel::testing {
namespace {

class CrashTest : public ToolTest {
protected:
    std::string log = ChangeLog::pathFor(image);
    const Bytes saved = withFlag(demoImage(), 13, catalogFlag(158));
};

// The command still does its work; a log that cannot be set aside is left as it was.
TEST_F(CrashTest, ADamagedLogIsReportedOnStandardError) {
    for (const char* change : {"apply game.bin denmark --design 58", "nets game.bin rombi"})
        ASSERT_EQ(tool(change).status, 0) << change;
    // The first change's mark turned from done to aborted: a change the image holds.
    Bytes damaged = readWholeFile(log);
    const Bytes done{'D', 0xBB, 'D', 0xBB};
    const auto mark = std::search(damaged.begin(), damaged.end(), done.begin(), done.end());
    ASSERT_NE(mark, damaged.end());
    *mark = 'A';
    writeWholeFile(log, damaged);
    const std::string shim = "LD_PRELOAD=" TAVREL_FAULT_SHIM " TAVREL_FAULT='rename 1+ EACCES'";
    const ToolRun kept = tool("apply game.bin 80 --design 1", shim);
    EXPECT_EQ(kept.status, 0);
    EXPECT_NE(kept.err.find("non si è potuto mettere da parte"), std::string::npos) << kept.err;
    EXPECT_NE(kept.err.find("senza registro"), std::string::npos) << kept.err;
    EXPECT_EQ(readWholeFile(log), damaged);
    const ToolRun reported = tool("history game.bin");
    EXPECT_NE(reported.err.find("era danneggiato"), std::string::npos) << reported.err;
    EXPECT_NE(reported.out.find("Salva Denmark"), std::string::npos) << reported.out;
    EXPECT_EQ(reported.out.find("fallita"), std::string::npos) << reported.out;
    EXPECT_EQ(readWholeFile(log + ".1"), damaged);
}

TEST_F(CrashTest, AReaderThatRecoversReadsTheLogAgainOnceItMayWrite) {
    ASSERT_EQ(tool("apply game.bin denmark --design 58").status, 0);
    Bytes torn = readWholeFile(log);
    torn.insert(torn.end(), {'T', 'R', 'E', 'C', 0xFF, 0xFF, 0, 0});  // a record cut short
    writeWholeFile(log, torn);
    // A reader that finds the torn tail, stopped between its shared lock and the exclusive
    // one, while a writer cuts the tail and adds a change of its own.
    const std::string stop = "TAVREL_FAULT=flock 2 stop";
    const std::string preload = "LD_PRELOAD=" TAVREL_FAULT_SHIM;
    char* environment[] = {const_cast<char*>(preload.c_str()), const_cast<char*>(stop.c_str()),
                           nullptr};
    char* arguments[] = {const_cast<char*>(TAVREL_TOOL), const_cast<char*>("teams"), image.data(),
                         nullptr};
    posix_spawn_file_actions_t quiet;
    ::posix_spawn_file_actions_init(&quiet);
    ::posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    pid_t reader = 0;
    ASSERT_EQ(::posix_spawn(&reader, TAVREL_TOOL, &quiet, nullptr, arguments, environment), 0);
    ::posix_spawn_file_actions_destroy(&quiet);
    int status = 0;
    ASSERT_EQ(::waitpid(reader, &status, WUNTRACED), reader);
    ASSERT_TRUE(WIFSTOPPED(status));
    ASSERT_EQ(tool("apply game.bin 80 --design 3").status, 0);
    ::kill(reader, SIGCONT);
    ASSERT_EQ(::waitpid(reader, &status, 0), reader);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::string history = tool("history game.bin").out;
    EXPECT_NE(history.find("Salva Bayer Monaco: N° 3"), std::string::npos) << history;
    EXPECT_EQ(readWholeFile(image), withFlag(saved, 80, catalogFlag(103)));
}

TEST_F(CrashTest, PipesAndProtectedImagesAreRefusedAtOnceAndALogNotOursIsReported) {
    for (const char* pipe : {"pipe.bin", "pipe.txt", "pipe.flg", "game.bin.tavrel-log"})
        ASSERT_EQ(::mkfifo(dir.file(pipe).c_str(), 0600), 0);
    // A command that waited on a pipe would be killed by the timeout (status 124).
    for (const char* refused :
         {"teams pipe.bin", "apply game.bin --plan pipe.txt", "apply game.bin 13 --file pipe.flg"})
        EXPECT_EQ(tool(refused, "timeout 20").status, 2) << refused;
    const ToolRun unlogged = tool("apply game.bin 13 --design 3", "timeout 20");
    EXPECT_EQ(unlogged.status, 0);
    EXPECT_NE(unlogged.err.find("senza registro"), std::string::npos) << unlogged.err;

    std::filesystem::remove(log);
    writeWholeFile(log, "not a log");
    const ToolRun reported = tool("history game.bin");
    EXPECT_NE(reported.err.find("non è un registro delle modifiche di Tavrel"), std::string::npos)
        << reported.err;
    EXPECT_TRUE(std::filesystem::exists(log + ".1"));  // kept as it was: the session's test
    std::filesystem::create_symlink(image, dir.file("link.bin"));
    EXPECT_EQ(tool("patch game.bin link.bin --force").status, 2);
    EXPECT_EQ(readWholeFile(image), withFlag(demoImage(), 13, catalogFlag(103)));
    // An image its owner protected could not be written: a failure, not a refusal of input.
    using std::filesystem::perms;
    std::filesystem::permissions(image,
                                 perms::owner_write | perms::group_write | perms::others_write,
                                 std::filesystem::perm_options::remove);
    EXPECT_EQ(tool("apply game.bin 13 --design 5").status, 1);
}

}  // namespace
}  // namespace tavrel::testing
