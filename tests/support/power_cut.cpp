// The preload shim's power-cut mode. With TAVREL_POWER="K PATTERN" set, every write and
// truncation of a file, every file created or renamed, and every fsync, fdatasync and syncfs
// is recorded, writes with the bytes they overwrote. After the K-th such call (K = 0: when
// tavrel_power_cut() is called) the files are rebuilt as a power cut may leave them and the
// process is killed:
//   - writes not yet synced (fsync or fdatasync of their file, syncfs) are kept or dropped by
//     PATTERN: "none" keeps them all, as a plain kill does; "all" drops them all; a number seeds
//     a random choice, the last write kept torn at 512-byte boundaries;
//   - names created or renamed since their folder's last fsync (or syncfs) are undone: none,
//     all, or all but a random number of the oldest, since a file system journals names in
//     order. A file a rename replaced comes back with its content.
// The program removes only its own temporary files, and writes only through pwrite: unlink and
// write are not recorded. On 64-bit Linux the calls have no separate "64" names.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "fault_shim.h"

namespace tavrel::shim {
namespace {

using Write = ssize_t (*)(int, const void*, size_t, off_t);
using Truncate = int (*)(int, off_t);
using Open = int (*)(const char*, int, ...);
using Rename = int (*)(const char*, const char*);
using Sync = int (*)(int);
const auto realWrite = next<Write>("pwrite");
const auto realTruncate = next<Truncate>("ftruncate");
const auto realOpen = next<Open>("open");
const auto realRename = next<Rename>("rename");

using Key = std::pair<dev_t, ino_t>;  // which file

Key keyOf(const struct stat& info) {
    return {info.st_dev, info.st_ino};
}

Key folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    struct stat info {};
    ::stat(slash == std::string::npos ? "." : path.substr(0, slash + 1).c_str(), &info);
    return keyOf(info);
}

std::string readAt(int fd, off_t from, off_t to) {
    std::string bytes(static_cast<std::size_t>(std::max<off_t>(to - from, 0)), '\0');
    bytes.resize(static_cast<std::size_t>(
        std::max<ssize_t>(::pread(fd, bytes.data(), bytes.size(), from), 0)));
    return bytes;
}

// A recorded call a power cut may undo: bytes written at `offset` and the file's size set (a
// truncation writes none), or a name made in the folder `file`.
struct Change {
    Key file;
    bool isName = false;
    off_t offset = 0, sizeBefore = 0, sizeAfter = 0;
    std::string before, after;  // the bytes overwritten or cut off, and the bytes written
    std::string path, from;     // the name made, and the one it was renamed from ("": created)
    int replaced = -1;          // our descriptor of the file a rename replaced
};

class Recorder {
public:
    explicit Recorder(const char* setting) : setting(setting) {
        char pattern[32] = {};
        if (std::sscanf(setting, "%lu %31s", &cutAfter_, pattern) != 2)
            std::abort();
        pattern_ = pattern;
    }

    // Our own descriptor of a file, kept: it reaches the file after its name is gone.
    int own(const std::string& path) {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0)
            return -1;
        auto [at, added] = files_.try_emplace(keyOf(info), -1);
        if (added)
            at->second = realOpen(path.c_str(), O_RDWR | O_CLOEXEC);
        if (at->second < 0)
            at->second = realOpen(path.c_str(), O_RDONLY | O_CLOEXEC);
        return at->second;
    }

    void made(Change change) { pending_.push_back(std::move(change)); }
    void synced(const struct stat& info, bool everything) {
        std::erase_if(pending_, [&](const Change& c) {
            return everything || (c.file == keyOf(info) && c.isName == S_ISDIR(info.st_mode));
        });
    }
    // Counts a recorded call; the power goes once it is the one named.
    void counted() {
        if (++calls == cutAfter_)
            cut();
    }

    [[noreturn]] void cut() {
        std::mt19937 random(static_cast<unsigned>(std::strtoul(pattern_.c_str(), nullptr, 10)));
        const bool keepAll = pattern_ == "none", dropAll = pattern_ == "all";
        std::vector<const Change*> data, names, kept;
        for (const Change& c : pending_) (c.isName ? names : data).push_back(&c);
        // Every unsynced write taken back, newest first; the kept ones written again in order.
        for (auto c = data.rbegin(); c != data.rend(); ++c) {
            realTruncate(files_.at((*c)->file), (*c)->sizeBefore);
            put(**c, (*c)->before, nullptr);
        }
        for (const Change* c : data) {
            if (keepAll || (!dropAll && random() % 2 == 0))
                kept.push_back(c);
        }
        for (const Change* c : kept) {
            put(*c, c->after, keepAll || c != kept.back() ? nullptr : &random);
            realTruncate(files_.at(c->file), c->sizeAfter);
        }
        const std::size_t keptNames = keepAll   ? names.size()
                                      : dropAll ? 0
                                                : random() % (names.size() + 1);
        for (std::size_t n = names.size(); n-- > keptNames;) undoName(*names[n]);
        std::raise(SIGKILL);
        std::abort();
    }

    const std::string setting;
    unsigned long calls = 0;

private:
    // Writes `bytes` at the change's offset; torn, only a random choice of its 512-byte blocks.
    void put(const Change& c, const std::string& bytes, std::mt19937* torn) {
        const off_t end = c.offset + static_cast<off_t>(bytes.size());
        for (off_t at = c.offset, next; at < end; at = next) {
            next = std::min(end, (at / 512 + 1) * 512);
            if (torn == nullptr || (*torn)() % 2 == 0)
                realWrite(files_.at(c.file), bytes.data() + (at - c.offset),
                          static_cast<size_t>(next - at), at);
        }
    }

    void undoName(const Change& c) {
        if (c.from.empty()) {
            ::unlink(c.path.c_str());
            return;
        }
        realRename(c.path.c_str(), c.from.c_str());
        if (c.replaced >= 0) {
            const int fd = realOpen(c.path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            struct stat info {};
            ::fstat(c.replaced, &info);
            const std::string content = readAt(c.replaced, 0, info.st_size);
            realWrite(fd, content.data(), content.size(), 0);
            ::close(fd);
        }
    }

    unsigned long cutAfter_ = 0;
    std::string pattern_;
    std::map<Key, int> files_;
    std::vector<Change> pending_;
};

std::recursive_mutex lock;
Recorder* recorder = nullptr;

// The recorder while TAVREL_POWER is set, a new one for each new value.
Recorder* armed() {
    const char* setting = std::getenv("TAVREL_POWER");
    if (setting == nullptr)
        return nullptr;
    if (recorder == nullptr || recorder->setting != setting)
        recorder = new Recorder(setting);
    return recorder;
}

// `count` bytes written at `offset`, or (`bytes` null) the file cut to `offset`, by `call`.
template <typename Call>
auto recordData(int fd, const void* bytes, size_t count, off_t offset, Call call) {
    const std::lock_guard guard(lock);
    Recorder* power = armed();
    struct stat info {};
    if (power == nullptr || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return call();
    Change change;
    change.file = keyOf(info);
    const int own = power->own("/proc/self/fd/" + std::to_string(fd));
    change.offset = offset;
    change.sizeBefore = info.st_size;
    change.before =
        readAt(own, offset, bytes ? std::min<off_t>(info.st_size, offset + count) : info.st_size);
    const auto result = call();
    if (result >= 0) {
        const auto written = bytes ? static_cast<std::size_t>(result) : 0;
        change.after.assign(static_cast<const char*>(bytes), written);
        change.before.resize(bytes ? std::min(change.before.size(), written)
                                   : change.before.size());
        ::fstat(own, &info);
        change.sizeAfter = info.st_size;
        power->made(std::move(change));
    }
    power->counted();
    return result;
}

int recordSync(const char* name, int fd, bool everything) {
    if (injectAt(name))
        return -1;
    const std::lock_guard guard(lock);
    const int result = next<Sync>(name)(fd);
    struct stat info {};
    if (Recorder* power = armed(); power && ::fstat(fd, &info) == 0) {
        if (result == 0)
            power->synced(info, everything);
        power->counted();
    }
    return result;
}

}  // namespace
}  // namespace tavrel::shim

using namespace tavrel::shim;

extern "C" {

ssize_t pwrite(int fd, const void* bytes, size_t count, off_t offset) {
    if (injectAt("pwrite"))
        return -1;
    return recordData(fd, bytes, count, offset,
                      [&] { return realWrite(fd, bytes, count, offset); });
}

int ftruncate(int fd, off_t size) {
    return recordData(fd, nullptr, 0, size, [&] { return realTruncate(fd, size); });
}

int open(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = (flags & O_CREAT) != 0 ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
    va_end(arguments);
    const std::lock_guard guard(lock);
    Recorder* power = (flags & O_CREAT) != 0 ? armed() : nullptr;
    struct stat info {};
    const bool created = power && ::stat(path, &info) != 0;
    const int fd = realOpen(path, flags, mode);
    if (created) {
        if (fd >= 0)
            power->made({folderOf(path), true, 0, 0, 0, {}, {}, path, {}, -1});
        power->counted();
    }
    return fd;
}

int rename(const char* from, const char* to) {
    if (injectAt("rename"))
        return -1;
    const std::lock_guard guard(lock);
    Recorder* power = armed();
    const int replaced = power ? power->own(to) : -1;
    const int result = realRename(from, to);
    if (power) {
        if (result == 0)
            power->made({folderOf(to), true, 0, 0, 0, {}, {}, to, from, replaced});
        power->counted();
    }
    return result;
}

int fsync(int fd) {
    return recordSync("fsync", fd, false);
}

int fdatasync(int fd) {
    return recordSync("fdatasync", fd, false);
}

int syncfs(int fd) {
    return recordSync("syncfs", fd, true);
}

// The calls recorded since TAVREL_POWER took its value; -1 when it is not set.
long tavrel_power_calls() {
    const std::lock_guard guard(lock);
    return armed() ? static_cast<long>(armed()->calls) : -1;
}

// Cuts the power now.
void tavrel_power_cut() {
    const std::lock_guard guard(lock);
    if (armed())
        armed()->cut();
    std::abort();
}
}
