#include "core/runtime/Geometry.h"

#include <gtest/gtest.h>

namespace korval {
namespace {

// Cells laid out in pixels, drawn at every scale the front ends meet: each
// edge lands on one device pixel, so a row of neighbours neither overlaps
// nor leaves a gap, and the row ends where the scaled layout ends.
TEST(DevicePixelRect, NeighbouringCellsStillMeetOnTheDevice)
{
    for (const double scale : {1.0, 1.25, 1.5, 1.75, 2.0, 3.0}) {
        int right = devicePixelRect(RectF{0, 18, 13.5f, 18}, scale).x;
        for (int column = 0; column < 40; ++column) {
            const RectF cell{column * 13.5f, 18, 13.5f, 18};
            const PixelRect drawn = devicePixelRect(cell, scale);
            EXPECT_EQ(drawn.x, right) << scale << " column " << column;
            right = drawn.x + drawn.width;
        }
        EXPECT_EQ(right, static_cast<int>(std::lround(40 * 13.5 * scale))) << scale;
    }
}

TEST(DevicePixelRect, WholePixelsScaleAsTheEdgesOfAnyArea)
{
    EXPECT_EQ(devicePixelRect(PixelRect{13, 18, 13, 18}, 1.0), (PixelRect{13, 18, 13, 18}));
    EXPECT_EQ(devicePixelRect(PixelRect{13, 18, 13, 18}, 1.5), (PixelRect{20, 27, 19, 27}));
    EXPECT_EQ(devicePixelRect(PixelRect{13, 18, 13, 18}, 1.5),
              devicePixelRect(RectF{13, 18, 13, 18}, 1.5));
}

} // namespace
} // namespace korval
