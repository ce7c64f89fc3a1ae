// A read-only image is refused at start-up rather than failing later on the first save.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "editor/messages.h"
#include "test_files.h"

namespace tavrel::testing {
namespace {

struct ProbeResult {
    int status;
    std::string output;
};

// Runs the start probe on `image`; as root, as the unprivileged user "nobody", since root's
// writes are not refused by file modes. The probe is copied beside the image first: the build
// folder may lie where "nobody" cannot reach.
ProbeResult runStartProbe(const TempDir& dir, const std::string& image) {
    const std::string probe = dir.file("start_probe");
    std::filesystem::copy_file(TAVREL_START_PROBE, probe,
                               std::filesystem::copy_options::overwrite_existing);
    std::string command = probe + " '" + image + "'";
    if (::geteuid() == 0) {
        command = "setpriv --reuid=nobody --regid=nogroup --clear-groups " + command;
    }
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return {-1, ""};
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
    const int raw = ::pclose(pipe);
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, output};
}

TEST(Access, AReadOnlyImageIsRefusedAtStartUp) {
    TempDir dir;
    std::filesystem::permissions(dir.path(), std::filesystem::perms(0755));
    const std::string image = dir.file("readonly.bin");
    writeWholeFile(image, std::string(4096, '\0'));
    ::chmod(image.c_str(), 0444);
    const ProbeResult result = runStartProbe(dir, image);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, std::string(text::kAccessRefused) + "\n");

    // The same file made writable for everyone opens: the refusal came from the mode.
    ::chmod(image.c_str(), 0666);
    EXPECT_EQ(runStartProbe(dir, image).status, 0);
}

}  // namespace
}  // namespace tavrel::testing
