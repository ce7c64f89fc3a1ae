#include "preview_raster.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <stdexcept>
#include <string>

#include "game/flag_record.h"

namespace tavrel::previews {
namespace {

struct Point {
    double x;
    double y;
};

bool insidePolygon(const std::vector<Point>& corners, Point p) {
    bool inside = false;
    for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
        const Point a = corners[i];
        const Point b = corners[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside;
}

double distanceToSegment(Point p, Point a, Point b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    double t = lengthSquared == 0 ? 0 : ((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Corners of a star with `points` tips, the first tip straight up before turning.
std::vector<Point> starCorners(Point centre, double outer, double inner, int points,
                               double turnDegrees) {
    std::vector<Point> corners;
    const double step = std::numbers::pi / points;
    const double start = -std::numbers::pi / 2 + turnDegrees * std::numbers::pi / 180;
    for (int k = 0; k < 2 * points; ++k) {
        const double radius = k % 2 == 0 ? outer : inner;
        corners.push_back({centre.x + radius * std::cos(start + k * step),
                           centre.y + radius * std::sin(start + k * step)});
    }
    return corners;
}

// Band k of `weights` spread over `length` pixels: the edges fall on whole pixels.
int bandAt(double position, const std::vector<double>& weights, int length) {
    double total = 0;
    for (double w : weights) total += w;
    double sum = 0;
    for (std::size_t k = 0; k < weights.size(); ++k) {
        sum += weights[k];
        if (position < static_cast<double>(std::lround(length * sum / total))) {
            return static_cast<int>(k);
        }
    }
    return static_cast<int>(weights.size()) - 1;
}

// The colour slot a shape gives the pixel whose centre is `p`, or 0 where it does not reach.
using Painter = std::function<int(Point)>;

Painter painterFor(const Shape& s, int width, int height) {
    const auto& n = s.numbers;
    const int c = s.slots.front();
    if (s.kind == "fill")
        return [c](Point) { return c; };
    if (s.kind == "hbands") {
        return [&s, height](Point p) { return s.slots[bandAt(p.y, s.weights, height)]; };
    }
    if (s.kind == "vbands") {
        return [&s, width](Point p) { return s.slots[bandAt(p.x, s.weights, width)]; };
    }
    if (s.kind == "rect") {
        return [&n, c](Point p) {
            return p.x >= n[0] && p.x < n[2] && p.y >= n[1] && p.y < n[3] ? c : 0;
        };
    }
    if (s.kind == "poly") {
        std::vector<Point> corners;
        for (std::size_t i = 0; i + 1 < n.size(); i += 2) corners.push_back({n[i], n[i + 1]});
        return [corners, c](Point p) { return insidePolygon(corners, p) ? c : 0; };
    }
    if (s.kind == "disc") {
        return [&n, c](Point p) { return std::hypot(p.x - n[0], p.y - n[1]) <= n[2] ? c : 0; };
    }
    if (s.kind == "ellipse") {
        return [&n, c](Point p) {
            const double u = (p.x - n[0]) / n[2];
            const double v = (p.y - n[1]) / n[3];
            return u * u + v * v <= 1 ? c : 0;
        };
    }
    if (s.kind == "ring") {
        return [&n, c](Point p) {
            const double d = std::hypot(p.x - n[0], p.y - n[1]);
            return d >= n[2] && d <= n[3] ? c : 0;
        };
    }
    if (s.kind == "line") {
        return [&n, c](Point p) {
            return distanceToSegment(p, {n[0], n[1]}, {n[2], n[3]}) <= n[4] / 2 ? c : 0;
        };
    }
    if (s.kind == "star" || s.kind == "sun") {
        const bool five = s.kind == "star";
        // A regular five-pointed star has its inner corners at 0.382 of the tip radius.
        const double inner = five ? n[2] * 0.381966 : n[3];
        const int points = five ? 5 : static_cast<int>(n[4]);
        const std::size_t turnAt = five ? 3 : 5;
        const double turn = n.size() > turnAt ? n[turnAt] : 0.0;
        auto corners = starCorners({n[0], n[1]}, n[2], inner, points, turn);
        return [corners, c](Point p) { return insidePolygon(corners, p) ? c : 0; };
    }
    if (s.kind == "checks") {
        const int other = s.slots[1];
        return [&n, c, other](Point p) {
            if (p.x < n[0] || p.x >= n[2] || p.y < n[1] || p.y >= n[3])
                return 0;
            const auto column = static_cast<int>((p.x - n[0]) / (n[2] - n[0]) * n[4]);
            const auto row = static_cast<int>((p.y - n[1]) / (n[3] - n[1]) * n[5]);
            return (column + row) % 2 == 0 ? c : other;
        };
    }
    throw std::runtime_error("no painter for shape " + s.kind);
}

// Pixels are sampled at 4 x 4 points: the colour covering most of them wins, provided the
// shape covers at least half the pixel. Small stars and thin lines keep their weight that way
// instead of vanishing or breaking up as a single centre sample would let them.
constexpr int kSamplesPerAxis = 4;
constexpr int kSamples = kSamplesPerAxis * kSamplesPerAxis;

int coveringSlot(const Painter& paint, int x, int y) {
    std::array<int, 16> hits{};  // per colour slot 1..15
    int covered = 0;
    for (int sy = 0; sy < kSamplesPerAxis; ++sy) {
        for (int sx = 0; sx < kSamplesPerAxis; ++sx) {
            const int slot =
                paint({x + (sx + 0.5) / kSamplesPerAxis, y + (sy + 0.5) / kSamplesPerAxis});
            if (slot == 0)
                continue;
            ++hits[static_cast<std::size_t>(slot)];
            ++covered;
        }
    }
    if (2 * covered < kSamples)
        return 0;
    int best = 0;
    for (int slot = 1; slot < 16; ++slot) {
        if (hits[static_cast<std::size_t>(slot)] > hits[static_cast<std::size_t>(best)])
            best = slot;
    }
    return best;
}

}  // namespace

Rgb5 colourOfWord(std::uint16_t word) {
    return {static_cast<std::uint8_t>(word & 0x1F), static_cast<std::uint8_t>((word >> 5) & 0x1F),
            static_cast<std::uint8_t>((word >> 10) & 0x1F)};
}

std::array<std::uint16_t, 15> colourWordsOf(std::string_view record) {
    const ParsedRecord parsed = parseFlagRecord(record);
    if (!parsed.flag)
        throw std::runtime_error("not a flag record");
    const auto& bytes = parsed.flag->palette;
    std::array<std::uint16_t, 15> words{};
    for (std::size_t k = 0; k < words.size(); ++k) {
        words[k] = static_cast<std::uint16_t>(bytes[2 * k] | bytes[2 * k + 1] << 8);
    }
    return words;
}

Raster renderPreview(const PreviewDesign& design, std::string_view record) {
    const auto words = colourWordsOf(record);
    const int w = design.width;
    const int h = design.height;
    std::vector<int> slots(static_cast<std::size_t>(w * h), 0);
    for (const Shape& shape : design.shapes) {
        const Painter paint = painterFor(shape, w, h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int slot = coveringSlot(paint, x, y);
                if (slot != 0)
                    slots[static_cast<std::size_t>(y * w + x)] = slot;
            }
        }
    }
    Raster raster{w, h, {}};
    raster.pixels.reserve(slots.size());
    for (int slot : slots) {
        // An unpainted pixel would show a colour the record does not have.
        if (slot == 0) {
            throw std::runtime_error("design " + std::to_string(design.id) +
                                     " leaves pixels unpainted");
        }
        raster.pixels.push_back(colourOfWord(words[static_cast<std::size_t>(slot - 1)]));
    }
    return raster;
}

}  // namespace tavrel::previews
