// Reading an image with the log's old bytes laid over it.
#include "journal/image_view.h"

#include <algorithm>

#include "journal/image_session.h"
#include "journal/ppf_patch.h"

namespace tavrel {

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
    lay(offset, bytes);
    return bytes;
}

std::vector<Bytes> ImageView::read(std::span<const ByteRun> places) const {
    std::vector<Bytes> bytes = file_->read(places);
    for (std::size_t i = 0; i < places.size(); ++i) lay(places[i].offset, bytes[i]);
    return bytes;
}

void ImageView::lay(std::int64_t offset, Bytes& bytes) const {
    const std::int64_t end = offset + static_cast<std::int64_t>(bytes.size());
    // The first run that may reach into the bytes: runs are sorted and apart.
    auto run = std::upper_bound(
        overlay_.begin(), overlay_.end(), offset,
        [](std::int64_t at, const ByteChange& change) { return at < change.offset; });
    if (run != overlay_.begin())
        --run;
    for (; run != overlay_.end() && run->offset < end; ++run) {
        for (std::size_t i = 0; i < run->before.size(); ++i) {
            const std::int64_t at = run->offset + static_cast<std::int64_t>(i);
            if (at >= offset && at < end)
                bytes[static_cast<std::size_t>(at - offset)] = run->before[i];
        }
    }
}

}  // namespace tavrel
