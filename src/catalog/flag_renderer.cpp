// Painting a drawing's shapes and colouring the result.
#include "catalog/flag_renderer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <stdexcept>
#include <string>

namespace tavrel {
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

// The box outside which a shape paints nothing; pixels outside it are not sampled, which makes
// the small shapes (stars, dots) cost little.
struct Reach {
    double left, top, right, bottom;
};

struct ShapePainter {
    Painter paint;
    Reach reach;
};

Reach reachOf(const std::vector<Point>& corners) {
    Reach reach{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
    for (const Point& p : corners) {
        reach = {std::min(reach.left, p.x), std::min(reach.top, p.y), std::max(reach.right, p.x),
                 std::max(reach.bottom, p.y)};
    }
    return reach;
}

ShapePainter polygonPainter(std::vector<Point> corners, int c) {
    const Reach reach = reachOf(corners);
    return {
        [corners = std::move(corners), c](Point p) { return insidePolygon(corners, p) ? c : 0; },
        reach};
}

ShapePainter painterFor(const Shape& s, int width, int height) {
    const auto& n = s.numbers;
    const int c = s.slots.front();
    const Reach whole{0, 0, static_cast<double>(width), static_cast<double>(height)};
    if (s.kind == "fill")
        return {[c](Point) { return c; }, whole};
    if (s.kind == "hbands") {
        return {[&s, height](Point p) { return s.slots[bandAt(p.y, s.weights, height)]; }, whole};
    }
    if (s.kind == "vbands") {
        return {[&s, width](Point p) { return s.slots[bandAt(p.x, s.weights, width)]; }, whole};
    }
    if (s.kind == "rect") {
        return {[&n, c](Point p) {
                    return p.x >= n[0] && p.x < n[2] && p.y >= n[1] && p.y < n[3] ? c : 0;
                },
                {n[0], n[1], n[2], n[3]}};
    }
    if (s.kind == "poly") {
        std::vector<Point> corners;
        for (std::size_t i = 0; i + 1 < n.size(); i += 2) corners.push_back({n[i], n[i + 1]});
        return polygonPainter(std::move(corners), c);
    }
    if (s.kind == "disc") {
        return {[&n, c](Point p) { return std::hypot(p.x - n[0], p.y - n[1]) <= n[2] ? c : 0; },
                {n[0] - n[2], n[1] - n[2], n[0] + n[2], n[1] + n[2]}};
    }
    if (s.kind == "ellipse") {
        return {[&n, c](Point p) {
                    const double u = (p.x - n[0]) / n[2];
                    const double v = (p.y - n[1]) / n[3];
                    return u * u + v * v <= 1 ? c : 0;
                },
                {n[0] - n[2], n[1] - n[3], n[0] + n[2], n[1] + n[3]}};
    }
    if (s.kind == "ring") {
        return {[&n, c](Point p) {
                    const double d = std::hypot(p.x - n[0], p.y - n[1]);
                    return d >= n[2] && d <= n[3] ? c : 0;
                },
                {n[0] - n[3], n[1] - n[3], n[0] + n[3], n[1] + n[3]}};
    }
    if (s.kind == "line") {
        const double half = n[4] / 2;
        return {[&n, c, half](Point p) {
                    return distanceToSegment(p, {n[0], n[1]}, {n[2], n[3]}) <= half ? c : 0;
                },
                {std::min(n[0], n[2]) - half, std::min(n[1], n[3]) - half,
                 std::max(n[0], n[2]) + half, std::max(n[1], n[3]) + half}};
    }
    if (s.kind == "star" || s.kind == "sun") {
        const bool five = s.kind == "star";
        // A regular five-pointed star has its inner corners at 0.382 of the tip radius.
        const double inner = five ? n[2] * 0.381966 : n[3];
        const int points = five ? 5 : static_cast<int>(n[4]);
        const std::size_t turnAt = five ? 3 : 5;
        const double turn = n.size() > turnAt ? n[turnAt] : 0.0;
        return polygonPainter(starCorners({n[0], n[1]}, n[2], inner, points, turn), c);
    }
    if (s.kind == "checks") {
        const int other = s.slots[1];
        return {[&n, c, other](Point p) {
                    if (p.x < n[0] || p.x >= n[2] || p.y < n[1] || p.y >= n[3])
                        return 0;
                    const auto column = static_cast<int>((p.x - n[0]) / (n[2] - n[0]) * n[4]);
                    const auto row = static_cast<int>((p.y - n[1]) / (n[3] - n[1]) * n[5]);
                    return (column + row) % 2 == 0 ? c : other;
                },
                {n[0], n[1], n[2], n[3]}};
    }
    throw std::runtime_error("no painter for shape " + s.kind);
}

// The pixels [first, last) along one axis of `length` that a reach from `low` to `high` touches.
std::pair<int, int> pixelsWithin(double low, double high, int length) {
    return {std::clamp(static_cast<int>(std::floor(low)), 0, length),
            std::clamp(static_cast<int>(std::ceil(high)) + 1, 0, length)};
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

Rgba8 pixelOf(std::uint16_t word) {
    if (isTransparent(word))
        return {};
    const Rgb8 shown = displayed(colourOf(word));
    return {shown.red, shown.green, shown.blue, 255};
}

ColourMap mapColours(const DesignDrawing& drawing) {
    const int w = drawing.width;
    const int h = drawing.height;
    ColourMap map{w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w * h), 0)};
    for (const Shape& shape : drawing.shapes) {
        const auto [paint, reach] = painterFor(shape, w, h);
        const auto [top, bottom] = pixelsWithin(reach.top, reach.bottom, h);
        const auto [left, right] = pixelsWithin(reach.left, reach.right, w);
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const int slot = coveringSlot(paint, x, y);
                if (slot != 0)
                    map.colours[static_cast<std::size_t>(y * w + x)] =
                        static_cast<std::uint8_t>(slot);
            }
        }
    }
    if (std::ranges::find(map.colours, 0) != map.colours.end())
        throw std::runtime_error("design " + std::to_string(drawing.id) +
                                 " leaves pixels unpainted");
    return map;
}

FlagPicture paintFlag(const ColourMap& map, const Flag& flag, int scale) {
    if (scale < 1 || scale > kMaxScale)
        throw std::out_of_range("scale " + std::to_string(scale) + " outside 1..64");
    std::array<Rgba8, kColourCount + 1> pixels{};
    for (int k = 1; k <= kColourCount; ++k)
        pixels[static_cast<std::size_t>(k)] = pixelOf(colourWord(flag, k));
    FlagPicture picture{map.width * scale, map.height * scale, {}};
    picture.pixels.reserve(static_cast<std::size_t>(picture.width * picture.height));
    std::vector<Rgba8> row;
    for (int y = 0; y < map.height; ++y) {
        row.clear();
        for (int x = 0; x < map.width; ++x)
            row.insert(row.end(), static_cast<std::size_t>(scale),
                       pixels[static_cast<std::size_t>(map.at(x, y))]);
        for (int copy = 0; copy < scale; ++copy)
            picture.pixels.insert(picture.pixels.end(), row.begin(), row.end());
    }
    return picture;
}

}  // namespace tavrel
