// The net effect of a change log, and its PPF 3.0 encoding.
#include "journal/ppf_patch.h"

#include <algorithm>

#include "image/image_file.h"
#include "sector/byte_order.h"

namespace tavrel {
namespace {

constexpr std::size_t kDescriptionSize = 50;
constexpr std::size_t kLongestRun = 255;

}  // namespace

std::vector<ByteChange> netChanges(const std::vector<ChangeRecord>& records,
                                   const ImageFile& image) {
    ByteValues bytes;  // each byte's value before its first change, and now
    for (const ChangeRecord& record : records) {
        if (record.state != ChangeRecord::State::Done)
            continue;
        for (const ByteChange& run : record.runs) {
            for (std::size_t i = 0; i < run.before.size(); ++i)
                bytes.emplace(run.offset + static_cast<std::int64_t>(i),
                              std::pair{run.before[i], run.before[i]});
        }
    }
    std::vector<ByteRun> places;  // the bytes grouped into runs, read together
    for (const auto& [offset, values] : bytes) {
        if (!places.empty() && places.back().offset + places.back().length == offset)
            ++places.back().length;
        else
            places.push_back({offset, 1});
    }
    const std::vector<Bytes> now = image.read(places);
    for (std::size_t p = 0; p < places.size(); ++p) {
        for (std::int64_t i = 0; i < places[p].length; ++i)
            bytes[places[p].offset + i].second = now[p][static_cast<std::size_t>(i)];
    }
    return changedRuns(bytes, kLongestRun);
}

Bytes encodePpf3(const std::vector<ByteChange>& runs, const std::string& description) {
    Bytes patch = {'P', 'P', 'F', '3', '0', 2};
    // Cut where no UTF-8 character is split: back to the start of the first one left out.
    std::size_t cut = std::min(description.size(), kDescriptionSize);
    while (cut < description.size() && cut > 0 &&
           (static_cast<unsigned char>(description[cut]) & 0xC0) == 0x80)
        --cut;
    std::string text = description.substr(0, cut);
    text.resize(kDescriptionSize, ' ');
    patch.insert(patch.end(), text.begin(), text.end());
    patch.insert(patch.end(), {0, 0, 1, 0});  // image type, block check, undo data, reserved
    for (const ByteChange& run : runs) {
        appendLittleEndian(patch, static_cast<std::uint64_t>(run.offset), 8);
        patch.push_back(static_cast<std::uint8_t>(run.after.size()));
        patch.insert(patch.end(), run.after.begin(), run.after.end());
        patch.insert(patch.end(), run.before.begin(), run.before.end());
    }
    return patch;
}

}  // namespace tavrel
