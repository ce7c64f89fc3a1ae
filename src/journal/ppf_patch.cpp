// The net effect of a change log, and its PPF 3.0 encoding.
#include "journal/ppf_patch.h"

#include <algorithm>
#include <map>

#include "image/image_file.h"

namespace tavrel {
namespace {

constexpr std::size_t kDescriptionSize = 50;
constexpr std::size_t kLongestRun = 255;

}  // namespace

std::vector<ByteChange> netChanges(const std::vector<ChangeRecord>& records,
                                   const ImageFile& image) {
    std::map<std::int64_t, std::uint8_t> original;  // each byte's value before its first change
    for (const ChangeRecord& record : records) {
        if (record.state != ChangeRecord::State::Done)
            continue;
        for (const ByteChange& run : record.runs) {
            for (std::size_t i = 0; i < run.before.size(); ++i)
                original.emplace(run.offset + static_cast<std::int64_t>(i), run.before[i]);
        }
    }
    std::vector<ByteChange> runs;
    for (const auto& [offset, before] : original) {
        const std::uint8_t now = image.read(offset, 1)[0];
        if (now == before)
            continue;
        const bool extends =
            !runs.empty() && runs.back().after.size() < kLongestRun &&
            runs.back().offset + static_cast<std::int64_t>(runs.back().after.size()) == offset;
        if (!extends)
            runs.push_back({offset, {}, {}});
        runs.back().before.push_back(before);
        runs.back().after.push_back(now);
    }
    return runs;
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
        for (int i = 0; i < 8; ++i)
            patch.push_back(
                static_cast<std::uint8_t>(static_cast<std::uint64_t>(run.offset) >> (8 * i)));
        patch.push_back(static_cast<std::uint8_t>(run.after.size()));
        patch.insert(patch.end(), run.after.begin(), run.after.end());
        patch.insert(patch.end(), run.before.begin(), run.before.end());
    }
    return patch;
}

}  // namespace tavrel
