// The operating system's files behind one small interface, with a POSIX implementation
// (platform_posix.cpp) and a Win32 one (platform_win32.cpp). Paths are UTF-8 on both. Nothing
// here throws: every call says how it went in a Status that keeps the system's own code.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tavrel::sys {

enum class Outcome {
    Done,
    NotFound,    // no such file or folder
    Refused,     // no permission, a read-only file, medium or file system
    Held,        // another process holds the lock
    NoLocks,     // the file system cannot lock files at all (some network and FUSE ones)
    NotRegular,  // a folder, pipe or device where a plain file was expected
    Exists,      // a new file's name is taken
    EndOfFile,   // fewer bytes than asked for lie before the end of the file
    Failed,      // any other reason: see `code`
};

struct Status {
    Outcome outcome = Outcome::Done;
    int code = 0;  // errno, or the Windows error; 0 where the system gave none

    bool ok() const { return outcome == Outcome::Done; }
};

// The system's own words for one of its codes, in UTF-8.
std::string describe(int code);

// Which file a handle or a name leads to, whatever name reaches it: the same on two names of
// one file (a hard link, a symbolic link), different for a copy.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

enum class Access { Read, ReadWrite };
enum class LockKind { Shared, Exclusive };

// One open plain file, closed when destroyed.
class File {
public:
    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Opens an existing plain file. Never waits: a pipe or device is refused (NotRegular)
    // before a byte is read from it.
    static Status open(const std::string& path, Access access, File& file);
    // Creates `path` for reading and writing; Exists when the name is taken.
    static Status create(const std::string& path, File& file);

    bool isOpen() const;

    // An advisory lock between Tavrel's own processes: shared among readers, exclusive for one
    // writer. Never waits. Other programs may still read and write the file.
    Status lock(LockKind kind);
    // True when the file says it must not be written: no write permission bit at all, or the
    // read-only attribute. Root's writes would pass on POSIX; the owner's wish still holds.
    bool writeProtected() const;

    Status size(std::int64_t& bytes) const;
    Status identity(FileIdentity& identity) const;

    // Reads `buffer.size()` bytes at `offset`, however many calls that takes; EndOfFile, with
    // `got` set, when the file ends first.
    Status readAt(std::int64_t offset, std::span<std::uint8_t> buffer, std::size_t& got) const;
    // Writes all of `bytes` at `offset`, however many calls that takes.
    Status writeAt(std::int64_t offset, std::span<const std::uint8_t> bytes);
    // Hands the file's written data to the disk.
    Status syncData();
    Status truncate(std::int64_t size);
    // Closes the file, saying whether the system accepted every write.
    Status close();

private:
    std::intptr_t handle_ = -1;
};

enum class PathKind { Missing, File, Folder, Other };

struct PathInfo {
    PathKind kind = PathKind::Missing;
    FileIdentity identity;
};

// What is at `path`, following symbolic links. A missing path is no failure.
Status inspect(const std::string& path, PathInfo& info);

// The absolute name of the file `path` leads to once every symbolic link is followed; `path`
// itself when that cannot be worked out (it does not exist, say), made absolute on Windows.
std::string resolved(const std::string& path);

// Puts `from` in place of `to`, replacing any file of that name, as one step.
Status replace(const std::string& from, const std::string& to);
Status remove(const std::string& path);
// The names of the entries of `folder`, "." and ".." left out.
Status listFolder(const std::string& folder, std::vector<std::string>& names);

// Puts the content of every file written in `folder` on the disk: one call for many files
// where the system offers one (POSIX), each file's own otherwise.
Status syncContent(const std::string& folder, std::span<File> files);
// Puts the names in `folder` (files created, replaced or renamed) on the disk.
Status syncFolder(const std::string& folder);

int processId();
// False only when no process of that id runs (a reused id counts as running).
bool processRuns(int id);

// True when standard error is a terminal that a progress bar may be drawn on.
bool errorIsTerminal();
// True when standard output is a terminal (a person reads it), not a file or a pipe.
bool outputIsTerminal();

// The program's arguments in UTF-8, its own name left out: `argv` where the system hands them
// over in UTF-8, the system's own wide command line where it does not.
std::vector<std::string> arguments(int argc, char** argv);
// Makes the console show the program's UTF-8 output ("è", "N°") as such where it would not, and
// lets standard output and error through byte for byte where lines would end in CR LF: the same
// bytes on every system.
void useUtf8Console();

}  // namespace tavrel::sys
