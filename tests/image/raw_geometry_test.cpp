#include "image/raw_geometry.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tavrel {
namespace {

TEST(RawGeometry, SplitsRunsOnlyAtTheEndOfUserData) {
    struct Case {
        std::int64_t position;
        std::int64_t length;
        std::vector<ByteRun> runs;
    };
    const Case cases[] = {
        // A palette 26 bytes before the end of a sector's user data: 4 bytes continue 304 bytes on.
        {12549967, 30, {{12549967, 26}, {12550297, 4}}},
        {12552319, 30, {{12552319, 26}, {12552649, 4}}},
        {12549519, 30, {{12549519, 30}}},
        {25, 2048, {{25, 2048}}},  // exactly one sector's user data
        {25, 2049, {{25, 2048}, {2377, 1}}},
        {2072, 1, {{2072, 1}}},  // the last user-data byte
    };
    for (const Case& c : cases) EXPECT_EQ(userDataRuns(c.position, c.length), c.runs);
}

TEST(RawGeometry, LongRunsNeverTouchFraming) {
    std::int64_t total = 0;
    for (const ByteRun& run : userDataRuns(1000, 10000)) {
        for (std::int64_t p = run.position; p < run.position + run.length; ++p) {
            ASSERT_TRUE(isUserData(p)) << p;
        }
        total += run.length;
    }
    EXPECT_EQ(total, 10000);
}

TEST(RawGeometry, RefusesToStartOutsideUserData) {
    for (const std::int64_t position : {0, 1, 24, 2073, 2352, 2353 + 23}) {
        EXPECT_THROW(userDataRuns(position, 2), std::invalid_argument) << position;
    }
}

}  // namespace
}  // namespace tavrel
