// VCDIFF on bytes in memory: windows laid out over an image larger than one window and decoded
// back to their targets, the instructions xdelta3's encoder does not write decoded by hand, and
// instructions that reach outside their window refused. Adler-32 against zlib's answers.
#include <gtest/gtest.h>

#include <string_view>

#include "journal/adler32.h"
#include "journal/vcdiff_code.h"
#include "journal/vcdiff_reading.h"
#include "journal/vcdiff_writing.h"

namespace tavrel::testing {
namespace {

Bytes bytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

TEST(PatchFormatTest, Adler32AgreesWithZlib) {
    Bytes pattern(100003);
    for (std::size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    const std::pair<Bytes, std::uint32_t> cases[] = {
        {{}, 1},
        {bytesOf("Wikipedia"), 0x11E60398},
        {Bytes(1 << 20, 0xFF), 0x8E88EF11},  // sums that overflow unless reduced in time
        {pattern, 0x7AB0989B},
    };
    for (const auto& [bytes, sum] : cases) EXPECT_EQ(adler32(bytes), sum) << bytes.size();
}

TEST(PatchFormatTest, WindowsCoverAnImageLargerThanOneAndDecodeToTheirTargets) {
    const std::int64_t size = kVcdiffWindowLimit + 3 * kRawSectorSize + 100;
    Bytes source(static_cast<std::size_t>(size));
    for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<std::uint8_t>(i / 3);
    Bytes target = source;
    // Changes at the start, across a sector's end, across the window limit and at the last byte.
    const std::pair<std::int64_t, std::int64_t> runs[] = {
        {0, 1}, {2 * kRawSectorSize - 10, 300}, {kVcdiffWindowLimit - 6, 12}, {size - 1, 1}};
    std::vector<ByteChange> changes;
    for (const auto& [offset, length] : runs) {
        for (std::int64_t i = offset; i < offset + length; ++i)
            target[static_cast<std::size_t>(i)] ^= static_cast<std::uint8_t>(0x5A + i);
        const auto from = source.begin() + offset, to = target.begin() + offset;
        changes.push_back({offset, Bytes(from, from + length), Bytes(to, to + length)});
    }
    std::vector<VcdiffWindowBytes> windows;
    std::int64_t covered = 0;
    for (const VcdiffWindowPlan& plan : planVcdiffWindows(size, changes)) {
        EXPECT_EQ(plan.span.offset, covered);
        EXPECT_LE(plan.span.length, kVcdiffWindowLimit);
        covered += plan.span.length;
        const std::int64_t from = plan.span.offset, to = from + plan.span.length;
        if (plan.changes)
            windows.push_back({plan.span, Bytes(source.begin() + from, source.begin() + to),
                               Bytes(target.begin() + from, target.begin() + to)});
        else
            windows.push_back({plan.span, {}, {}});
    }
    EXPECT_EQ(covered, size);

    const Bytes patch = encodeVcdiff(windows);
    const VcdiffReading read = readVcdiff(patch);
    ASSERT_TRUE(read.patch);
    EXPECT_EQ(read.patch->targetSize, size);
    Bytes decoded;
    for (const VcdiffWindow& window : read.patch->windows) {
        const auto from = source.begin() + window.segmentOffset;
        const WindowDecoding out =
            decodeWindow(window, std::span(from, from + window.segmentLength));
        ASSERT_TRUE(out.target);
        EXPECT_EQ(window.checksum.has_value(), !copiesInPlace(window));
        if (window.checksum) {
            EXPECT_EQ(*window.checksum, adler32(*out.target));
        }
        decoded.insert(decoded.end(), out.target->begin(), out.target->end());
    }
    EXPECT_TRUE(decoded == target);
}

// One window without a checksum, its sections as given.
Bytes patchOf(std::uint8_t indicator, const Bytes& segment, std::size_t targetLength,
              const Bytes& data, const Bytes& instructions, const Bytes& addresses) {
    Bytes patch(kVcdiffMagic.begin(), kVcdiffMagic.end());
    patch.push_back(0);
    patch.push_back(indicator);
    if (indicator != 0) {
        appendVarint(patch, segment.size());
        appendVarint(patch, 0);
    }
    Bytes encoding;
    appendVarint(encoding, targetLength);
    encoding.push_back(0);
    for (const Bytes* section : {&data, &instructions, &addresses})
        appendVarint(encoding, section->size());
    for (const Bytes* section : {&data, &instructions, &addresses})
        encoding.insert(encoding.end(), section->begin(), section->end());
    appendVarint(patch, encoding.size());
    patch.insert(patch.end(), encoding.begin(), encoding.end());
    return patch;
}

TEST(PatchFormatTest, InstructionsDecodeOrAreRefusedWhenTheyLeaveTheirWindow) {
    using Op = VcdiffOp;
    const auto op = [](HalfInstruction first, HalfInstruction second = {}) {
        return *opcodeFor(first, second);
    };
    const std::uint8_t add2 = op({Op::Add, 2, 0}), run = op({Op::Run, 0, 0}),
                       copy = op({Op::Copy, 0, 0}),
                       add2copy6 = op({Op::Add, 2, 0}, {Op::Copy, 6, 0});
    const Bytes segment = bytesOf("abcd");
    struct Case {
        std::size_t length;
        Bytes data, instructions, addresses;
        std::string_view target;  // empty: refused
    };
    const Case cases[] = {
        // RUN; an ADD then a COPY repeating it, the copy overlapping what it writes.
        {11, bytesOf("x12"), {run, 3, add2copy6}, {7}, "xxx12121212"},
        {8, {}, {copy, 4, copy, 4}, {0, 0}, "abcdabcd"},  // from the segment
        {4, {}, {copy, 4}, {4}, ""},                      // from where nothing is written yet
        {4, {}, {copy, 4}, {2}, ""},                      // runs on past the segment's end
        {3, bytesOf("12"), {add2, add2}, {}, ""},         // more data than the section holds
        {3, bytesOf("123"), {add2}, {}, ""},              // target shorter than said
        {2, bytesOf("123"), {add2}, {}, ""},              // data left over
    };
    for (const Case& c : cases) {
        const Bytes patch =
            patchOf(kVcdTarget, segment, c.length, c.data, c.instructions, c.addresses);
        const VcdiffReading read = readVcdiff(patch);
        ASSERT_TRUE(read.patch);
        const VcdiffWindow& window = read.patch->windows.at(0);
        EXPECT_EQ(window.segment, VcdiffWindow::Segment::Target);
        const WindowDecoding out = decodeWindow(window, segment);
        EXPECT_EQ(out.target.has_value(), !c.target.empty()) << c.target;
        if (out.target) {
            EXPECT_EQ(*out.target, bytesOf(c.target));
        } else {
            EXPECT_EQ(out.fault.kind, PatchFault::Kind::BadInstruction);
        }
    }
}

}  // namespace
}  // namespace tavrel::testing
