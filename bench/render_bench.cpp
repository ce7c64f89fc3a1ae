// What drawing a flag costs against one frame at 60 Hz (16 ms), at the size of the flag
// window's large preview (each pixel of the drawing 4 x 4 screen pixels, or 8 x 8):
//   start   a draft made from a team's flag as the window makes it when it opens or follows
//           another team (which designs it is; the drawing's shapes worked out) and drawn;
//   redraw  one colour changed (the chosen colour snapped, which designs the flag now is) and
//           the draft drawn again: what follows every choice in the colour chooser.
// Every design in turn; prints the median and the slowest design's median, in milliseconds,
// and their share of a frame. The first start of all (the design file read once) apart.
//
//   render_bench [ROUNDS]
#include <algorithm>
#include <chrono>
#include <iostream>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "catalog/flag_draft.h"

using namespace tavrel;
using Clock = std::chrono::steady_clock;

namespace {

constexpr double kFrame = 1000.0 / 60;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Figures {
    std::vector<double> perDesign;  // each design's median
    void add(const std::vector<double>& times) { perDesign.push_back(median(times)); }
    void print(const char* what) const {
        const double typical = median(perDesign);
        const double slowest = *std::max_element(perDesign.begin(), perDesign.end());
        std::cout << "  " << what << ": median " << typical << " (" << typical / kFrame
                  << " of a frame), slowest design " << slowest << " (" << slowest / kFrame
                  << ")\n";
    }
};

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::stoi(argv[1]) : 21;
    auto start = Clock::now();
    std::size_t checksum =
        FlagDraft::ofFlag(catalogFlag(kFirstCatalogId)).picture(4)->pixels.size();
    const double first = millisecondsSince(start);

    Figures start4, redraw4, redraw8;
    for (int id = kFirstCatalogId; id <= kLastCatalogId; ++id) {
        std::vector<double> starts, redraws4, redraws8;
        for (int round = 0; round < rounds; ++round) {
            start = Clock::now();
            FlagDraft draft = FlagDraft::ofFlag(catalogFlag(id));
            checksum += draft.picture(4)->pixels.size();
            starts.push_back(millisecondsSince(start));

            // A colour the flag does not have, so that each change is a change.
            const auto level = static_cast<std::uint8_t>(8 * round + 3);
            for (auto* times : {&redraws4, &redraws8}) {
                start = Clock::now();
                draft.setColour(1 + round % kColourCount, {level, 255, level});
                checksum += draft.picture(times == &redraws4 ? 4 : 8)->pixels.size();
                times->push_back(millisecondsSince(start));
            }
        }
        start4.add(starts);
        redraw4.add(redraws4);
        redraw8.add(redraws8);
    }
    std::cout << "milliseconds over the " << kCatalogSize << " designs, " << rounds
              << " rounds each (" << checksum << " pixels drawn); a frame is " << kFrame << ":\n"
              << "  first start of all, the design file read: " << first << "\n";
    start4.print("start, 4x");
    redraw4.print("redraw after a colour change, 4x");
    redraw8.print("redraw after a colour change, 8x");
    std::cout << "aim: each under one frame\n";
    return 0;
}
