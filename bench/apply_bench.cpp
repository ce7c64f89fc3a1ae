// What writing flags costs against the floor of its system calls. In one run, on one image:
//   plan   tavrel-tool's "apply --plan" for all 86 teams, in-process: open and lock the image,
//          read and check the plan, read every place, append the change-log record and sync
//          the log, write the image and sync it, mark the record done;
//   save   tavrel-tool's "apply" of one design to one team, the same way;
//   floor  the same writes as bare calls on open descriptors: the log record's pwrite and an
//          fdatasync of the log, the image's pwrites (the places and the checksum bytes of
//          their sectors, one call each) and an fdatasync, the mark's pwrite. The plan is also
//          set against the image's writes and one fdatasync alone (no log).
// Prints medians over the rounds and the ratios. The image lies in FOLDER (default the current
// folder): on a disk the syncs dominate, in memory the rest shows.
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
#include "journal/change_record.h"
#include "journal/image_session.h"
#include "image/checksum_carry.h"
#include "tool/command_line.h"

using namespace tavrel;
using Clock = std::chrono::steady_clock;

namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Every team gets another design each round, so every round changes bytes.
int designFor(int team, int round) {
    return (team + 7 * round) % kCatalogSize + 1;
}

ImageEdit editOf(const std::string& image, const std::vector<int>& teams, int round) {
    std::vector<TeamFlag> flags;
    for (const int team : teams)
        flags.push_back({team, catalogFlag(catalogIdAt(designFor(team, round)))});
    ImageSession session(image, ImageAccess::ReadOnly);
    ImageEdit edit = GameImage(session).planFlags(flags);
    carrySectorChecksums(session.file(), edit);  // as a write through the session does
    return edit;
}

// The bare calls of a logged write of `edit`; with `logged` false, the image's writes and sync.
double floorOf(const std::string& image, const std::string& log, const ImageEdit& edit,
               bool logged) {
    ChangeRecord record;
    record.runs = changedRuns(edit.changes);
    const Bytes bytes = encodeRecord(record, 2);
    const int imageFd = ::open(image.c_str(), O_RDWR);
    const int logFd = ::open(log.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    const Bytes done = encodeMark(ChangeRecord::State::Done);
    const auto start = Clock::now();
    bool ok =
        !logged || (::pwrite(logFd, bytes.data(), bytes.size(), 0) > 0 && ::fdatasync(logFd) == 0);
    for (const ByteChange& change : edit.changes)
        ok = ok && ::pwrite(imageFd, change.after.data(), change.after.size(), change.offset) > 0;
    ok = ok && ::fdatasync(imageFd) == 0 &&
         (!logged || ::pwrite(logFd, done.data(), done.size(),
                              static_cast<off_t>(bytes.size() - done.size())) ==
                         static_cast<ssize_t>(done.size()));
    const double time = millisecondsSince(start);
    ::close(imageFd);
    ::close(logFd);
    if (!ok)
        throw std::runtime_error("a bare write failed");
    return time;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : ".";
    const int rounds = argc > 2 ? std::stoi(argv[2]) : 51;
    const std::string image = folder + "/apply_bench.bin", plan = folder + "/apply_bench.plan",
                      floorLog = folder + "/apply_bench.floor-log";
    {
        const Bytes demo = demoImage();
        std::ofstream(image, std::ios::binary)
            .write(reinterpret_cast<const char*>(demo.data()),
                   static_cast<std::streamsize>(demo.size()));
    }
    std::vector<int> everyTeam(kTeamCount);
    for (int team = 0; team < kTeamCount; ++team) everyTeam[static_cast<std::size_t>(team)] = team;
    std::vector<double> planTimes, saveTimes, planFloor, planFloorNoLog, saveFloor;
    std::ostringstream out, err;
    std::istringstream in;
    const tool::Streams io{out, err, in};
    try {
        for (int round = 1; round <= rounds; ++round) {
            const auto measureTool = [&] {
                std::ofstream planFile(plan);
                for (const int team : everyTeam)
                    planFile << team << ' ' << designFor(team, 4 * round) << '\n';
                planFile.close();
                auto start = Clock::now();
                if (tool::runTool({"apply", image, "--plan", plan}, io) != 0)
                    throw std::runtime_error(err.str());
                planTimes.push_back(millisecondsSince(start));
                start = Clock::now();
                if (tool::runTool({"apply", image, "13", "--design",
                                   std::to_string(designFor(13, 4 * round + 1))},
                                  io) != 0)
                    throw std::runtime_error(err.str());
                saveTimes.push_back(millisecondsSince(start));
            };
            // Planned outside the clock; each changes bytes the image does not hold yet.
            const auto measureFloor = [&] {
                planFloor.push_back(
                    floorOf(image, floorLog, editOf(image, everyTeam, 4 * round + 2), true));
                planFloorNoLog.push_back(
                    floorOf(image, floorLog, editOf(image, everyTeam, 4 * round + 3), false));
                saveFloor.push_back(
                    floorOf(image, floorLog, editOf(image, {13}, 4 * round + 2), true));
            };
            // Turn about, so that neither always meets the disk just after the other.
            if (round % 2 == 0) {
                measureTool();
                measureFloor();
            } else {
                measureFloor();
                measureTool();
            }
        }
    } catch (const std::exception& error) {
        std::cerr << "apply_bench: " << error.what() << '\n';
        return 1;
    }
    for (const std::string& file : {image, plan, floorLog, ChangeLog::pathFor(image)})
        ::unlink(file.c_str());
    const double p = median(planTimes), s = median(saveTimes), pf = median(planFloor),
                 pn = median(planFloorNoLog), sf = median(saveFloor);
    std::cout << "median of " << rounds << " rounds in " << folder << ", milliseconds:\n"
              << "  86-team plan " << p << ", floor " << pf
              << " (with the log's write and sync): ratio " << p / pf << "\n"
              << "  86-team plan against the image's writes and one fdatasync alone (" << pn
              << "): ratio " << p / pn << "\n"
              << "  one save " << s << ", floor " << sf
              << " (with the log's write and sync): ratio " << s / sf << "\n"
              << "aim: at most 1.5 against the floor with the log\n";
    return 0;
}
