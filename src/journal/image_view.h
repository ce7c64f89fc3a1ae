// An open image's bytes as they stand, or as they stood before the changes its log records: the
// log's old values laid over the image's, what a patch made for the unmodified image expects.
#pragma once

#include <span>
#include <vector>

#include "image/image_edit.h"

namespace tavrel {

class ImageFile;
class ImageSession;

// Lays the runs' bytes that fall among `bytes` (which start at `offset`) over them: their old
// bytes, or with `after` their new ones. The runs are sorted by offset and apart.
void layRuns(Bytes& bytes, std::int64_t offset, const std::vector<ByteChange>& runs,
             bool after = false);

class ImageView {
public:
    // The image as it stands.
    explicit ImageView(const ImageFile& file) : file_(&file) {}
    // The image before its logged changes.
    static ImageView beforeLog(const ImageSession& session);

    std::int64_t size() const;
    // True when the view differs from the image somewhere (a log with changes in effect).
    bool overlaid() const { return !overlay_.empty(); }
    // The runs the log changed, each with its old and its current bytes.
    const std::vector<ByteChange>& logged() const { return overlay_; }

    Bytes read(std::int64_t offset, std::size_t count) const;
    std::vector<Bytes> read(std::span<const ByteRun> places) const;

private:
    const ImageFile* file_;
    std::vector<ByteChange> overlay_;  // sorted by offset, not overlapping
};

}  // namespace tavrel
