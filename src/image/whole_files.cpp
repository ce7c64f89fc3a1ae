// Small files read with a bound and written through temporary files.
#include "image/whole_files.h"

#include <charconv>
#include <random>

#include "platform/paths.h"
#include "platform/platform.h"

namespace tavrel {
namespace {

constexpr std::string_view kTemporaryPrefix = ".tavrel-";
constexpr std::string_view kTemporarySuffix = ".tmp";

// ".tavrel-<process>-<random>.tmp": the writer's process id tells whether it may still finish.
std::string temporaryName() {
    return std::string(kTemporaryPrefix) + std::to_string(sys::processId()) + "-" +
           std::to_string(std::random_device{}()) + std::string(kTemporarySuffix);
}

// The writer of a temporary file of ours, or 0 for any other name.
int temporaryWriter(std::string_view name) {
    if (!name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix))
        return 0;
    name = name.substr(kTemporaryPrefix.size(),
                       name.size() - kTemporaryPrefix.size() - kTemporarySuffix.size());
    int process = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), process);
    const std::string_view rest(end, name.data() + name.size() - end);
    const bool digits =
        rest.size() > 1 && rest[0] == '-' && rest.find_first_not_of("0123456789", 1) == rest.npos;
    return error == std::errc() && digits ? process : 0;
}

// A writer killed between creating and renaming its files leaves them behind; nobody else
// will ever finish them.
void removeLeftovers(const std::string& folder) {
    std::vector<std::string> names;
    if (!sys::listFolder(folder, names).ok())
        return;
    for (const std::string& name : names) {
        const int writer = temporaryWriter(name);
        if (writer > 0 && writer != sys::processId() && !sys::processRuns(writer))
            sys::remove(pathIn(folder, name));
    }
}

// Temporary files written so far, removed unless they all took their names.
class Temporaries {
public:
    ~Temporaries() {
        for (std::size_t i = placed_; i < paths.size(); ++i) sys::remove(paths[i]);
    }
    void allPlaced() { placed_ = paths.size(); }
    void placed(std::size_t count) { placed_ = count; }

    std::vector<std::string> paths;
    std::vector<sys::File> files;

private:
    std::size_t placed_ = 0;
};

}  // namespace

Bytes readFileStart(const std::string& path, std::size_t maxBytes, FileRole role) {
    sys::File file;
    if (const sys::Status status = sys::File::open(path, sys::Access::Read, file); !status.ok())
        throw openError(status, role, path);
    Bytes bytes(maxBytes);
    std::size_t got = 0;
    const sys::Status status = file.readAt(0, bytes, got);
    if (!status.ok() && status.outcome != sys::Outcome::EndOfFile)
        throw FileError(FileFailure::ReadFailed, role, path, status.code);
    bytes.resize(got);
    return bytes;
}

void writeFilesWhole(const std::string& folder, const std::vector<NewFile>& files, FileRole role) {
    removeLeftovers(folder);
    Temporaries temporaries;
    const auto fail = [&](FileFailure failure, const std::string& name, const sys::Status& why) {
        throw FileError(failure, role, pathIn(folder, name), why.code);
    };
    for (const NewFile& file : files) {
        sys::File out;
        const std::string path = pathIn(folder, temporaryName());
        if (const sys::Status status = sys::File::create(path, out); !status.ok())
            fail(FileFailure::CreateFailed, file.name, status);
        temporaries.paths.push_back(path);
        if (const sys::Status status = out.writeAt(0, file.content); !status.ok())
            fail(FileFailure::WriteFailed, file.name, status);
        temporaries.files.push_back(std::move(out));
    }
    // One sync for all the files' content, before any of them takes its name.
    if (const sys::Status status = sys::syncContent(folder, temporaries.files); !status.ok())
        fail(FileFailure::WriteFailed, files.front().name, status);
    for (sys::File& file : temporaries.files) {
        if (const sys::Status status = file.close(); !status.ok())
            fail(FileFailure::WriteFailed, files.front().name, status);
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        const sys::Status status =
            sys::replace(temporaries.paths[i], pathIn(folder, files[i].name));
        if (!status.ok()) {
            temporaries.placed(i);
            fail(FileFailure::CreateFailed, files[i].name, status);
        }
    }
    temporaries.allPlaced();
    // The new names are on the disk only once the folder is.
    if (const sys::Status status = sys::syncFolder(folder); !status.ok())
        fail(FileFailure::SyncFailed, files.back().name, status);
}

}  // namespace tavrel
