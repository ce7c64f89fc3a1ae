// Writing PNG files: the signature, then IHDR, one IDAT holding the rows deflated with zlib
// (each row led by filter byte 0, none), and IEND; every chunk with its length and CRC-32.
#include "tool/png_file.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <stdexcept>

namespace tavrel::tool {
namespace {

constexpr std::array<std::uint8_t, 8> kSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void putBigEndian32(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putChunk(Bytes& out, const char (&type)[5], const Bytes& data) {
    putBigEndian32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    // The CRC covers the type and the data, not the length.
    const uLong crc =
        crc32(crc32(0, nullptr, 0), out.data() + typeAt, static_cast<uInt>(out.size() - typeAt));
    putBigEndian32(out, static_cast<std::uint32_t>(crc));
}

Bytes deflated(const Bytes& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes out(size);
    if (compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        throw std::runtime_error("zlib could not compress the picture");
    out.resize(size);
    return out;
}

}  // namespace

Bytes encodePng(const FlagPicture& picture) {
    Bytes header;
    putBigEndian32(header, static_cast<std::uint32_t>(picture.width));
    putBigEndian32(header, static_cast<std::uint32_t>(picture.height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, filter 0, no interlace

    Bytes rows;
    rows.reserve(static_cast<std::size_t>(picture.height * (1 + 4 * picture.width)));
    for (int y = 0; y < picture.height; ++y) {
        rows.push_back(0);
        for (int x = 0; x < picture.width; ++x) {
            const Rgba8 p = picture.at(x, y);
            rows.insert(rows.end(), {p.red, p.green, p.blue, p.alpha});
        }
    }

    Bytes out(kSignature.begin(), kSignature.end());
    putChunk(out, "IHDR", header);
    putChunk(out, "IDAT", deflated(rows));
    putChunk(out, "IEND", {});
    return out;
}

bool isPngStart(const Bytes& start) {
    return start.size() >= kSignature.size() &&
           std::equal(kSignature.begin(), kSignature.end(), start.begin());
}

}  // namespace tavrel::tool
