#include "power_cut_sweep.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "fault_injection.h"
#include "journal/image_session.h"
#include "test_files.h"

namespace tavrel::testing {
namespace {

using Folder = std::map<std::string, Bytes>;
constexpr std::size_t kBlock = 4096;

// The files of `folder` but `skipped`, with their content.
Folder snapshot(const std::filesystem::path& folder, const std::string& skipped) {
    Folder files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename() != skipped)
            files[entry.path().filename().string()] = readWholeFile(entry.path().string());
    }
    return files;
}

// The changes the history says the image holds, in order: "3 apply Denmark: N° 58 (12)".
std::vector<std::string> doneChanges(const ImageSession& session) {
    std::vector<std::string> lines;
    for (const ChangeRecord& r : session.history()) {
        if (r.state == ChangeRecord::State::Done)
            lines.push_back(std::to_string(r.sequence) + " " + r.description + " (" +
                            std::to_string(r.checksumSectors) + ")");
    }
    return lines;
}

struct Run {
    bool ended = false;  // the change ran to its end and told its user
    Outcome outcome;
    long calls = 0;  // the file calls it made
};

// Runs the change in a child process whose power is cut after the call `after` (0: after its
// end), the disk keeping `pattern` of what was not synced.
Run runCut(const PowerCutSweep& sweep, long after, const std::string& pattern) {
    // What the child tells, in memory it shares with this process: zeros until it ends.
    constexpr std::size_t kReport = 1 << 16;
    auto* report = static_cast<char*>(
        ::mmap(nullptr, kReport, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    const pid_t child = ::fork();
    if (child == 0) {
        PowerCut::arm(after, pattern);
        if (!sweep.fault.empty())
            ::setenv("TAVREL_FAULT", sweep.fault.c_str(), 1);
        const Outcome outcome = sweep.change();
        const std::string text = std::to_string(outcome.status) + " " +
                                 std::to_string(PowerCut::calls()) + "\n" + outcome.said;
        text.copy(report, kReport - 1);
        PowerCut::now();
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;
    const std::string text(report);
    ::munmap(report, kReport);
    Run run;
    std::istringstream words(text);
    run.ended = static_cast<bool>(words >> run.outcome.status >> run.calls);
    run.outcome.said = text.substr(std::min(text.size(), text.find('\n') + 1));
    return run;
}

class Sweeper {
public:
    explicit Sweeper(const PowerCutSweep& sweep)
        : sweep_(sweep),
          folder_(std::filesystem::path(sweep.image).parent_path()),
          imageName_(std::filesystem::path(sweep.image).filename().string()),
          before_(snapshot(folder_, imageName_)),
          first_(readWholeFile(sweep.image)) {
        const int fd = ::open(sweep.image.c_str(), O_RDONLY | O_CLOEXEC);
        // The image is written in place, never replaced: one mapping serves the whole sweep.
        image_ = static_cast<const std::uint8_t*>(
            ::mmap(nullptr, first_.size(), PROT_READ, MAP_SHARED | MAP_POPULATE, fd, 0));
        ::close(fd);
        const auto log = before_.find(imageName_ + ".tavrel-log");
        damagedBefore_ = log != before_.end() && readLog(log->second).damaged();
        const Outcome reference = sweep.change();
        EXPECT_EQ(reference.status, 0) << reference.said;
        after_ = snapshot(folder_, imageName_);
        last_ = readWholeFile(sweep.image);
        // The history as each change leaves it: the last one's, less the changes after it.
        const std::vector<std::string> done = doneChanges(ImageSession(sweep.image));
        for (int s = 0; s <= sweep.changes; ++s) {
            const Bytes* image = s == 0               ? &first_
                                 : s == sweep.changes ? &last_
                                                      : &sweep.between[s - 1];
            states_.push_back({image, {done.begin(), done.end() - (sweep.changes - s)}});
        }
        putBack(differences());
    }
    ~Sweeper() { ::munmap(const_cast<std::uint8_t*>(image_), first_.size()); }

    // Cuts the power and checks what the next opening finds, unless an earlier cut left the
    // files just so; the calls the change made when it ran to its end.
    long check(long after, const std::string& pattern) {
        SCOPED_TRACE("power cut after call " + std::to_string(after) + ", keeping " + pattern);
        const Run run = runCut(sweep_, after, pattern);
        EXPECT_EQ(run.ended, after == 0);
        std::vector<std::size_t> left = differences();
        std::string seen =
            std::to_string(run.ended) + std::to_string(run.outcome.status) + run.outcome.said;
        for (const std::size_t block : left)
            seen.append(reinterpret_cast<const char*>(image_ + block * kBlock), kBlock);
        for (const auto& [name, content] : snapshot(folder_, imageName_))
            seen += name + std::string(content.begin(), content.end());
        if (seen_.insert(std::hash<std::string>()(seen)).second) {
            checkOutputs(run);
            checkOpening(run);
            left = differences();
        }
        putBack(left);
        return run.calls;
    }

private:
    struct State {
        const Bytes* image;
        std::vector<std::string> history;
    };

    void checkOpening(const Run& run) {
        std::vector<std::string> listed;
        std::size_t state = states_.size();
        {
            const ImageSession session(sweep_.image);
            const bool told = session.recovery().problem != Recovery::LogProblem::None;
            listed = doneChanges(session);
            for (std::size_t s = 0; s < states_.size() && state == states_.size(); ++s) {
                if (std::equal(states_[s].image->begin(), states_[s].image->end(), image_) &&
                    (told || listed == states_[s].history))
                    state = s;
            }
            EXPECT_TRUE(!told || damagedBefore_) << "a power cut taken for damage";
            EXPECT_LT(state, states_.size())
                << "the image is no whole state, or the history does not list what it holds: "
                << ::testing::PrintToString(listed);
        }
        if (run.ended) {
            const bool failed = !sweep_.fault.empty();
            EXPECT_EQ(run.outcome.status != 0, failed) << run.outcome.said;
            EXPECT_EQ(state, failed ? 0 : states_.size() - 1) << run.outcome.said;
        }
        const ImageSession again(sweep_.image);
        EXPECT_EQ(again.recovery().problem, Recovery::LogProblem::None) << "a second opening";
        EXPECT_EQ(again.recovery().interrupted, Recovery::Interrupted::None) << "a second opening";
        EXPECT_EQ(doneChanges(again), listed) << "a second opening";
    }

    // Files written besides the image and its log are whole or absent; those of a change that
    // reported its end are there.
    void checkOutputs(const Run& run) const {
        for (const auto& [name, content] : after_) {
            const std::string path = (folder_ / name).string();
            if (name == imageName_ + ".tavrel-log" || name.ends_with(".tmp") ||
                (before_.contains(name) && before_.at(name) == content))
                continue;
            const bool there = std::filesystem::exists(path);
            EXPECT_TRUE(there || !run.ended || run.outcome.status != 0) << name << " is missing";
            EXPECT_TRUE(!there || readWholeFile(path) == content ||
                        (before_.contains(name) && readWholeFile(path) == before_.at(name)))
                << name << " is not whole";
        }
    }

    // The 4 KiB blocks where the image differs from its first state.
    std::vector<std::size_t> differences() const {
        std::vector<std::size_t> blocks;
        for (std::size_t at = 0; at < first_.size(); at += kBlock) {
            if (!std::equal(image_ + at, image_ + std::min(at + kBlock, first_.size()),
                            &first_[at]))
                blocks.push_back(at / kBlock);
        }
        return blocks;
    }

    // The folder as it was: the image's `changed` blocks and the other files.
    void putBack(const std::vector<std::size_t>& changed) {
        const int fd = ::open(sweep_.image.c_str(), O_WRONLY | O_CLOEXEC);
        for (const std::size_t block : changed) {
            const std::size_t at = block * kBlock;
            EXPECT_GT(::pwrite(fd, &first_[at], std::min(kBlock, first_.size() - at),
                               static_cast<off_t>(at)),
                      0);
        }
        ::close(fd);
        for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
            const std::string name = entry.path().filename().string();
            if (name != imageName_ && !before_.contains(name))
                std::filesystem::remove(entry.path());
        }
        for (const auto& [name, content] : before_) {
            const std::string path = (folder_ / name).string();
            if (!std::filesystem::exists(path) || readWholeFile(path) != content)
                writeWholeFile(path, content);
        }
    }

    const PowerCutSweep& sweep_;
    std::filesystem::path folder_;
    std::string imageName_;
    Folder before_, after_;       // the files but the image, before and after the uncut change
    Bytes first_, last_;          // the image before and after it
    bool damagedBefore_ = false;  // the log was damaged before the change: it may be reported
    const std::uint8_t* image_ = nullptr;
    std::vector<State> states_;
    std::set<std::size_t> seen_;  // what the cases checked left, hashed
};

}  // namespace

SweepCount sweepPowerCuts(const PowerCutSweep& sweep) {
    Sweeper sweeper(sweep);
    SweepCount count;
    // Cut after the end first: it tells how many calls the change makes.
    for (long after = 0, calls = 0; after <= calls; ++after, ++count.cuts) {
        for (const std::string& pattern :
             {std::string("none"), std::string("all"), std::to_string(after * 7 + 1)}) {
            const long made = sweeper.check(after, pattern);
            calls = after == 0 ? made : calls;
            ++count.cases;
        }
    }
    return count;
}

}  // namespace tavrel::testing
