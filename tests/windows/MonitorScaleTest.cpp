#include "windows/platform/MonitorScale.h"

#include <gtest/gtest.h>

namespace korval::windows {
namespace {

// Each row: a monitor's DPI and its physical rectangle, the logical one the
// rules get, and where a 13 x 18 cell at logical (13, 18) lands in physical
// pixels.
struct Row {
    const char* name;
    unsigned dpi;
    PixelRect physical;
    PixelRect logical;
    PixelRect cell;
};

const Row kRows[] = {
    {"96 DPI: nothing scales", 96, {0, 0, 1920, 1080}, {0, 0, 1920, 1080}, {13, 18, 13, 18}},
    {"192 DPI: twice", 192, {0, 0, 3840, 2160}, {0, 0, 1920, 1080}, {26, 36, 26, 36}},
    {"144 DPI: one and a half", 144, {0, 0, 2880, 1620}, {0, 0, 1920, 1080}, {20, 27, 19, 27}},
    {"120 DPI, a size that does not divide", 120, {0, 0, 1366, 768}, {0, 0, 1093, 614}, {16, 23, 17, 22}},
    {"a monitor right of the primary", 192, {3840, 0, 3840, 2160}, {1920, 0, 1920, 1080}, {26, 36, 26, 36}},
    {"a monitor left of the primary", 144, {-2880, -300, 2880, 1620}, {-1920, -200, 1920, 1080}, {20, 27, 19, 27}},
    {"no DPI reported: taken as 96", 0, {0, 0, 800, 600}, {0, 0, 800, 600}, {13, 18, 13, 18}},
};

TEST(MonitorScaleTest, LogicalMonitorsAndPhysicalCells)
{
    for (const Row& row : kRows) {
        const MonitorScale scale = MonitorScale::ofDpi(row.dpi);
        EXPECT_EQ(scale.logical(row.physical), row.logical) << row.name;
        EXPECT_EQ(scale.physical(RectF{13, 18, 13, 18}), row.cell) << row.name;
    }
}

// Neighbouring cells still meet at any scale: one's right edge is the next
// one's left edge, and a point of the window maps back inside its cell.
TEST(MonitorScaleTest, NeighbouringCellsMeetAndPointsMapBack)
{
    for (const unsigned dpi : {96u, 120u, 144u, 168u, 192u}) {
        const MonitorScale scale = MonitorScale::ofDpi(dpi);
        for (int column = 0; column < 50; ++column) {
            const PixelRect left = scale.physical(RectF{13.0f * column, 0, 13, 18});
            const PixelRect right = scale.physical(RectF{13.0f * (column + 1), 0, 13, 18});
            ASSERT_EQ(left.x + left.width, right.x) << dpi << " DPI, column " << column;
            const PointF middle = scale.logicalPoint(left.x + left.width / 2.0, left.y + left.height / 2.0);
            ASSERT_GE(middle.x, 13.0 * column) << dpi << " DPI, column " << column;
            ASSERT_LT(middle.x, 13.0 * (column + 1)) << dpi << " DPI, column " << column;
        }
    }
}

} // namespace
} // namespace korval::windows
