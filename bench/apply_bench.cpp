// What an 86-team plan costs against the floor of its writes. In one run, on one image file:
//   tool   tavrel-tool's "apply --plan" in-process: open and lock the image, read and check
//          the plan, read every place, write, one fdatasync;
//   floor  the same pwrite calls on an open descriptor, then one fdatasync.
// Prints the median of each over the rounds and their ratio. The image lies in FOLDER (default
// the current folder): on a disk the syncs dominate, in memory the rest shows.
//
//   apply_bench [FOLDER] [ROUNDS]
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

#include "catalog/catalog.h"
#include "demo_image_content.h"
#include "game/game_image.h"
#include "image/image_session.h"
#include "tool/tool_commands.h"

using namespace tavrel;
using Clock = std::chrono::steady_clock;

namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Every team gets another design each round, so every round changes bytes.
int designFor(int team, int round) {
    return (team + 7 * round) % kCatalogSize + 1;
}

ImageEdit editOf(const std::string& image, int round) {
    std::vector<TeamFlag> flags;
    for (int team = 0; team < kTeamCount; ++team)
        flags.push_back({team, catalogFlag(catalogIdAt(designFor(team, round)))});
    ImageSession file(image, ImageAccess::ReadOnly);
    return GameImage(file).planFlags(flags);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : ".";
    const int rounds = argc > 2 ? std::stoi(argv[2]) : 21;
    const std::string image = folder + "/apply_bench.bin", plan = folder + "/apply_bench.plan";
    {
        const Bytes demo = demoImage();
        std::ofstream(image, std::ios::binary)
            .write(reinterpret_cast<const char*>(demo.data()),
                   static_cast<std::streamsize>(demo.size()));
    }
    std::vector<double> tool, floor;
    std::ostringstream out, err;
    std::istringstream in;
    for (int round = 1; round <= rounds; ++round) {
        std::ofstream planFile(plan);
        for (int team = 0; team < kTeamCount; ++team)
            planFile << team << ' ' << designFor(team, 2 * round) << '\n';
        planFile.close();
        auto start = Clock::now();
        if (tool::applyPlan(image, plan, {out, err, in}) != 0) {
            std::cerr << err.str();
            return 1;
        }
        tool.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());

        const ImageEdit edit = editOf(image, 2 * round + 1);  // planned outside the clock
        const int fd = ::open(image.c_str(), O_RDWR);
        start = Clock::now();
        for (const ByteChange& change : edit.changes) {
            if (::pwrite(fd, change.after.data(), change.after.size(), change.offset) < 0)
                return 1;
        }
        if (::fdatasync(fd) != 0)
            return 1;
        floor.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        ::close(fd);
        if (round == 1)
            std::cout << "writes per plan: " << edit.changes.size() << " pwrite + 1 fdatasync\n";
    }
    ::unlink(image.c_str());
    ::unlink(plan.c_str());
    const double t = median(tool), f = median(floor);
    std::cout << "86-team plan, median of " << rounds << " rounds in " << folder << ":\n"
              << "  tavrel-tool apply --plan  " << t << " ms\n"
              << "  syscall floor             " << f << " ms\n"
              << "  ratio                     " << t / f << " (aim: at most 1.5)\n";
    return 0;
}
