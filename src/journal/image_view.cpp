// Reading an image with the log's old bytes laid over it.
#include "journal/image_view.h"

#include <algorithm>

#include "journal/image_session.h"
#include "journal/ppf_patch.h"

namespace tavrel {

void layRuns(Bytes& bytes, std::int64_t offset, const std::vector<ByteChange>& runs, bool after) {
    const std::int64_t end = offset + static_cast<std::int64_t>(bytes.size());
    // The first run that may reach into the bytes.
    auto run = std::upper_bound(
        runs.begin(), runs.end(), offset,
        [](std::int64_t at, const ByteChange& change) { return at < change.offset; });
    if (run != runs.begin())
        --run;
    for (; run != runs.end() && run->offset < end; ++run) {
        const Bytes& laid = after ? run->after : run->before;
        for (std::size_t i = 0; i < laid.size(); ++i) {
            const std::int64_t at = run->offset + static_cast<std::int64_t>(i);
            if (at >= offset && at < end)
                bytes[static_cast<std::size_t>(at - offset)] = laid[i];
        }
    }
}

ImageView ImageView::beforeLog(const ImageSession& session) {
    ImageView view(session.file());
    view.overlay_ = netChanges(session.history(), session.file());
    return view;
}

std::int64_t ImageView::size() const {
    return file_->size();
}

Bytes ImageView::read(std::int64_t offset, std::size_t count) const {
    Bytes bytes = file_->read(offset, count);
    layRuns(bytes, offset, overlay_);
    return bytes;
}

std::vector<Bytes> ImageView::read(std::span<const ByteRun> places) const {
    std::vector<Bytes> bytes = file_->read(places);
    for (std::size_t i = 0; i < places.size(); ++i) layRuns(bytes[i], places[i].offset, overlay_);
    return bytes;
}

}  // namespace tavrel
