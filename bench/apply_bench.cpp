// What writing flags costs against the floor of its system calls. In one run, on one image:
//   plan   tavrel-tool's "apply --plan" for all 86 teams, in-process: open and lock the image,
//          read and check the plan, read every place, append the change-log record and sync
//          the log, write the image and sync it, mark the record done;
//   save   tavrel-tool's "apply" of one design to one team, the same way;
//   patch  tavrel-tool's "apply-patch" of an 86-team patch (made by "patch" from another copy of
//          the image, as PPF and as VCDIFF) into an unmodified image, in-process: read the patch,
//          open the image, check every byte the patch writes (a VCDIFF's windows decoded and
//          their checksums compared), then the logged write;
//   floor  the same writes as bare calls on open descriptors: the log record's pwrite and an
//          fdatasync of the log, the image's pwrites (the places and the checksum bytes of
//          their sectors, one call each) and an fdatasync, the mark's pwrite. The plan is also
//          set against the image's writes and one fdatasync alone (no log). A patch's floor
//          also reads the patch file and, once, what its check must read: each sector it
//          touches (PPF), each window it checks (VCDIFF).
// Prints medians over the rounds and the ratios. The image lies in FOLDER (default the current
// folder): on a disk the syncs dominate, in memory the rest shows.
//
//   apply_bench [FOLDER] [ROUNDS]
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

#include "catalog/catalog.h"
#include "demo_image_content.h"
#include "game/game_image.h"
#include "game/patch_plan.h"
#include "image/checksum_carry.h"
#include "image/whole_files.h"
#include "journal/change_record.h"
#include "journal/image_session.h"
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

// What a patch's floor does besides the logged write: read the patch file whole and stretches
// of the image, and create the log (the image had none), syncing its folder.
struct PatchFloor {
    std::string patch;
    std::vector<ByteRun> reads;
};

// The bare calls of a logged write of `edit`; with `logged` false, the image's writes and sync.
double floorOf(const std::string& image, const std::string& log, const ImageEdit& edit, bool logged,
               const PatchFloor& patch = {}) {
    ChangeRecord record;
    record.runs = changedRuns(edit.changes);
    const Bytes bytes = encodeRecord(record, 2);
    const int imageFd = ::open(image.c_str(), O_RDWR);
    const bool creates = !patch.patch.empty();
    if (creates)
        ::unlink(log.c_str());
    const int folderFd = ::open(std::filesystem::path(log).parent_path().c_str(), O_RDONLY);
    int logFd = creates ? -1 : ::open(log.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    const Bytes done = encodeMark(ChangeRecord::State::Done);
    Bytes buffer(creates ? std::filesystem::file_size(patch.patch) : 0);
    for (const ByteRun& run : patch.reads)
        buffer.resize(std::max(buffer.size(), static_cast<std::size_t>(run.length)));
    const auto start = Clock::now();
    bool ok = true;
    if (creates) {
        const int patchFd = ::open(patch.patch.c_str(), O_RDONLY);
        ok = ::pread(patchFd, buffer.data(), buffer.size(), 0) > 0 && ::close(patchFd) == 0;
        logFd = ::open(log.c_str(), O_RDWR | O_CREAT | O_EXCL, 0644);
    }
    for (const ByteRun& run : patch.reads)
        ok = ok && ::pread(imageFd, buffer.data(), static_cast<std::size_t>(run.length),
                           run.offset) == run.length;
    ok = ok && (!logged || (::pwrite(logFd, bytes.data(), bytes.size(), 0) > 0 &&
                            ::fdatasync(logFd) == 0 && (!creates || ::fsync(folderFd) == 0)));
    for (const ByteChange& change : edit.changes)
        ok = ok && ::pwrite(imageFd, change.after.data(), change.after.size(), change.offset) > 0;
    ok = ok && ::fdatasync(imageFd) == 0 &&
         (!logged || ::pwrite(logFd, done.data(), done.size(),
                              static_cast<off_t>(bytes.size() - done.size())) ==
                         static_cast<ssize_t>(done.size()));
    const double time = millisecondsSince(start);
    ::close(imageFd);
    ::close(logFd);
    ::close(folderFd);
    if (!ok)
        throw std::runtime_error("a bare write failed");
    return time;
}

// Puts the old bytes of `edit` back in place and syncs them: the image is as its log last left
// it, so the tool's next run finds the log fitting its image and sets nothing aside.
void putBack(const std::string& image, const ImageEdit& edit) {
    const int fd = ::open(image.c_str(), O_RDWR);
    bool ok = fd >= 0;
    for (const ByteChange& change : edit.changes)
        ok = ok && ::pwrite(fd, change.before.data(), change.before.size(), change.offset) > 0;
    ok = ok && ::fdatasync(fd) == 0 && ::close(fd) == 0;
    if (!ok)
        throw std::runtime_error("the image could not be put back");
}

// The same, and the log removed: the image is unmodified again, as a patch meets it, in the
// same file.
void undoWithoutLog(const std::string& image, const ImageEdit& edit) {
    putBack(image, edit);
    std::filesystem::remove(ChangeLog::pathFor(image));
}

// The edit apply-patch makes of `patch` on `image`, planned as it does, and what its check
// reads: the windows a VCDIFF patch checks, or the sectors a PPF patch touches.
std::pair<ImageEdit, std::vector<ByteRun>> patchEdit(const std::string& image,
                                                     const std::string& patch) {
    const Bytes bytes = readFileStart(patch, std::size_t{64} << 20, FileRole::Patch);
    ImageSession session(image, ImageAccess::ReadOnly);
    std::vector<ByteRun> reads;
    PatchPlan plan;
    if (recognisePatch(bytes) == PatchFormat::Vcdiff) {
        const VcdiffPatch vcdiff = *readVcdiff(bytes).patch;
        for (const VcdiffWindow& window : vcdiff.windows) {
            if (window.checksum)
                reads.push_back({window.targetOffset, window.targetLength});
        }
        plan = planPatch(session, vcdiff);
    } else {
        plan = planPatch(session, *readPpf(bytes).patch);
        for (const ByteChange& change : plan.edit.changes) {
            const std::int64_t sector = change.offset / kRawSectorSize * kRawSectorSize;
            if (reads.empty() || reads.back().offset < sector)
                reads.push_back({sector, kRawSectorSize});
        }
    }
    carrySectorChecksums(session.file(), plan.edit);
    return {plan.edit, reads};
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : ".";
    const int rounds = argc > 2 ? std::stoi(argv[2]) : 51;
    const std::string image = folder + "/apply_bench.bin", plan = folder + "/apply_bench.plan",
                      floorLog = folder + "/apply_bench.floor-log",
                      maker = folder + "/apply_bench-maker.bin",
                      patched = folder + "/apply_bench-patched.bin";
    const std::string patches[] = {folder + "/apply_bench.ppf", folder + "/apply_bench.xdelta"};
    {
        const Bytes demo = demoImage();
        for (const std::string& name : {image, maker, patched})
            std::ofstream(name, std::ios::binary)
                .write(reinterpret_cast<const char*>(demo.data()),
                       static_cast<std::streamsize>(demo.size()));
    }
    std::vector<int> everyTeam(kTeamCount);
    for (int team = 0; team < kTeamCount; ++team) everyTeam[static_cast<std::size_t>(team)] = team;
    std::vector<double> planTimes, saveTimes, planFloor, planFloorNoLog, saveFloor;
    std::vector<double> patchTimes[2], patchFloors[2];
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
            // Planned outside the clock; each changes bytes the image does not hold yet, and
            // is taken back after, unlogged as it was made.
            const auto measureFloor = [&] {
                const auto floorOfEdit = [&](std::vector<double>& floors, const ImageEdit& edit,
                                             bool logged) {
                    floors.push_back(floorOf(image, floorLog, edit, logged));
                    putBack(image, edit);
                };
                floorOfEdit(planFloor, editOf(image, everyTeam, 4 * round + 2), true);
                floorOfEdit(planFloorNoLog, editOf(image, everyTeam, 4 * round + 3), false);
                floorOfEdit(saveFloor, editOf(image, {13}, 4 * round + 2), true);
            };
            // Turn about, so that neither always meets the disk just after the other.
            if (round % 2 == 0) {
                measureTool();
                measureFloor();
            } else {
                measureFloor();
                measureTool();
            }
            // An 86-team patch of other designs, made from another copy, into an unmodified image.
            const std::string makerPlan = plan + "-maker";
            {
                std::ofstream planFile(makerPlan);
                for (const int team : everyTeam)
                    planFile << team << ' ' << designFor(team, 4 * round + 5) << '\n';
            }
            if (tool::runTool({"apply", maker, "--plan", makerPlan}, io) != 0)
                throw std::runtime_error(err.str());
            for (int format = 0; format < 2; ++format) {
                if (tool::runTool({"patch", maker, patches[format], "--force"}, io) != 0)
                    throw std::runtime_error(err.str());
                const auto [edit, reads] = patchEdit(patched, patches[format]);
                const auto measurePatchFloor = [&] {
                    patchFloors[format].push_back(
                        floorOf(patched, floorLog, edit, true, {patches[format], reads}));
                    undoWithoutLog(patched, edit);
                };
                const auto measurePatch = [&] {
                    const auto start = Clock::now();
                    if (tool::runTool({"apply-patch", patched, patches[format]}, io) != 0)
                        throw std::runtime_error(err.str());
                    patchTimes[format].push_back(millisecondsSince(start));
                    undoWithoutLog(patched, edit);
                };
                if (round % 2 == 0) {
                    measurePatch();
                    measurePatchFloor();
                } else {
                    measurePatchFloor();
                    measurePatch();
                }
            }
            ::unlink(makerPlan.c_str());
        }
    } catch (const std::exception& error) {
        std::cerr << "apply_bench: " << error.what() << '\n';
        return 1;
    }
    for (const std::string& file :
         {image, plan, floorLog, ChangeLog::pathFor(image), maker, ChangeLog::pathFor(maker),
          patched, ChangeLog::pathFor(patched), patches[0], patches[1]})
        ::unlink(file.c_str());
    const double p = median(planTimes), s = median(saveTimes), pf = median(planFloor),
                 pn = median(planFloorNoLog), sf = median(saveFloor);
    std::cout << "median of " << rounds << " rounds in " << folder << ", milliseconds:\n"
              << "  86-team plan " << p << ", floor " << pf
              << " (with the log's write and sync): ratio " << p / pf << "\n"
              << "  86-team plan against the image's writes and one fdatasync alone (" << pn
              << "): ratio " << p / pn << "\n"
              << "  one save " << s << ", floor " << sf
              << " (with the log's write and sync): ratio " << s / sf << "\n";
    for (int format = 0; format < 2; ++format) {
        const double t = median(patchTimes[format]), f = median(patchFloors[format]);
        std::cout << "  86-team " << (format == 0 ? "PPF" : "VCDIFF") << " patch applied " << t
                  << ", floor " << f << " (its reads, the log's write and sync): ratio " << t / f
                  << "\n";
    }
    std::cout << "aim: at most 1.5 against the floor with the log\n";
    return 0;
}
