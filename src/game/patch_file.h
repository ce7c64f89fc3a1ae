// A patch file taken in, as the window's drop and the tool's apply-patch both take it: read
// whole (no more than a flag patch can need), recognised as PPF or VCDIFF by its first bytes,
// decoded, and planned against the open image. Read before the image is touched: a bad patch
// never reaches it.
#pragma once

#include <optional>
#include <string>

#include "game/patch_plan.h"

namespace tavrel {

// A patch of flags is a few KiB; one larger than this is no patch for this game.
inline constexpr std::size_t kLargestPatch = std::size_t{64} << 20;

class PatchFile {
public:
    // Throws FileError (role Patch) when the file cannot be opened or read.
    static PatchFile read(const std::string& path);

    PatchFile(PatchFile&&) = default;
    PatchFile& operator=(PatchFile&&) = default;

    const std::string& path() const { return path_; }
    // Over kLargestPatch: not decoded at all.
    bool tooLarge() const { return tooLarge_; }
    // Why the patch could not be decoded; Kind::None once it was.
    const PatchFault& fault() const { return fault_; }
    bool usable() const { return !tooLarge_ && fault_.kind == PatchFault::Kind::None; }

    // What applying the decoded patch to the open image would write; only when usable().
    PatchPlan plan(const ImageSession& session) const;

private:
    PatchFile() = default;

    std::string path_;
    Bytes bytes_;  // a VCDIFF patch's windows point into these
    bool tooLarge_ = false;
    PatchFault fault_;
    std::optional<PpfPatch> ppf_;
    std::optional<VcdiffPatch> vcdiff_;
};

}  // namespace tavrel
