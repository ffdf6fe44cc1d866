#include "DragScroll.h"

#include <gtest/gtest.h>

using velmora::dragScrollTarget;

namespace {
constexpr int viewportHeight = 200;
constexpr int band = 20;
} // namespace

TEST(DragScroll, TopBandShowsTheEntryAboveBottomBandTheEntryBelow) {
    EXPECT_EQ(dragScrollTarget(0, viewportHeight, band, 5, 10), 4);
    EXPECT_EQ(dragScrollTarget(band - 1, viewportHeight, band, 5, 10), 4);
    EXPECT_EQ(dragScrollTarget(band, viewportHeight, band, 5, 10), std::nullopt);
    EXPECT_EQ(dragScrollTarget(viewportHeight - band - 1, viewportHeight, band, 5, 10),
              std::nullopt);
    EXPECT_EQ(dragScrollTarget(viewportHeight - band, viewportHeight, band, 5, 10), 6);
    EXPECT_EQ(dragScrollTarget(viewportHeight - 1, viewportHeight, band, 5, 10), 6);
}

TEST(DragScroll, NeverAboveTheFirstNorBelowTheLastEntry) {
    EXPECT_EQ(dragScrollTarget(0, viewportHeight, band, 1, 10), std::nullopt);
    EXPECT_EQ(dragScrollTarget(viewportHeight - 1, viewportHeight, band, 10, 10), std::nullopt);
    EXPECT_EQ(dragScrollTarget(0, viewportHeight, band, 1, 1), std::nullopt);
    EXPECT_EQ(dragScrollTarget(viewportHeight - 1, viewportHeight, band, 1, 1), std::nullopt);
    for (int count = 0; count <= 4; ++count)
        for (int hit = -1; hit <= count + 2; ++hit)
            for (int y = -5; y <= viewportHeight + 5; ++y)
                // a viewport shorter than two bands makes the bands overlap
                for (int height : {viewportHeight, band, band / 2}) {
                    const auto target = dragScrollTarget(y, height, band, hit, count);
                    if (target) {
                        EXPECT_GE(*target, 1);
                        EXPECT_LE(*target, count);
                        EXPECT_EQ(std::abs(*target - hit), 1);
                    }
                }
}

TEST(DragScroll, OverlappingBandsPreferUpwardsUnlessAtTheTop) {
    // A list so short that one pointer position lies in both bands.
    EXPECT_EQ(dragScrollTarget(5, 10, band, 2, 3), 1);
    EXPECT_EQ(dragScrollTarget(5, 10, band, 1, 3), 2);
}
