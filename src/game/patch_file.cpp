// Reading a patch file and planning it.
#include "game/patch_file.h"

#include "image/whole_files.h"

namespace tavrel {
namespace {

// Read with room for this much first: room for more costs time to make.
constexpr std::size_t kUsualPatch = std::size_t{1} << 20;

}  // namespace

PatchFile PatchFile::read(const std::string& path) {
    PatchFile file;
    file.path_ = path;
    file.bytes_ = readFileStart(path, kUsualPatch + 1, FileRole::Patch);
    if (file.bytes_.size() > kUsualPatch)
        file.bytes_ = readFileStart(path, kLargestPatch + 1, FileRole::Patch);
    if (file.bytes_.size() > kLargestPatch) {
        file.tooLarge_ = true;
        file.bytes_.clear();
        return file;
    }
    if (recognisePatch(file.bytes_) == PatchFormat::Vcdiff) {
        VcdiffReading reading = readVcdiff(file.bytes_);
        file.vcdiff_ = std::move(reading.patch);
        file.fault_ = reading.fault;
    } else {
        PpfReading reading = readPpf(file.bytes_);
        file.ppf_ = std::move(reading.patch);
        file.fault_ = reading.fault;
    }
    return file;
}

PatchPlan PatchFile::plan(const ImageSession& session) const {
    return vcdiff_ ? planPatch(session, *vcdiff_) : planPatch(session, *ppf_);
}

}  // namespace tavrel
