#include "engine/DevicePixelRect.h"
#include "engine/ScreenScale.h"

#include <gtest/gtest.h>

namespace korval {
namespace {

struct WindowRow {
    const char* name;
    QSize devicePixels;
    double ratio;
    QSize laidOut;
};

class HostWindowAtARatio : public ::testing::TestWithParam<WindowRow> {};

// The grid is laid out in the window's size divided by the ratio; drawn at
// the ratio, its black background covers every device pixel of the window,
// and two neighbouring cells meet without a gap or an overlap.
TEST_P(HostWindowAtARatio, IsLaidOutSmallerAndDrawnToItsLastDevicePixel)
{
    const WindowRow& row = GetParam();
    EXPECT_EQ(layoutSize(row.devicePixels, row.ratio), row.laidOut);

    const QRect drawn = devicePixelRect(QRect(QPoint(0, 0), row.laidOut), row.ratio);
    EXPECT_GE(drawn.width(), row.devicePixels.width());
    EXPECT_GE(drawn.height(), row.devicePixels.height());
    EXPECT_LT(drawn.width(), row.devicePixels.width() + row.ratio + 1);

    const QRect left = devicePixelRect(QRect(13, 18, 13, 18), row.ratio);
    const QRect right = devicePixelRect(QRect(26, 18, 13, 18), row.ratio);
    EXPECT_EQ(left.x() + left.width(), right.x());
    EXPECT_EQ(left.y(), right.y());
}

INSTANTIATE_TEST_SUITE_P(
    Engine, HostWindowAtARatio,
    ::testing::Values(WindowRow{"onePerPixel", QSize(1024, 768), 1.0, QSize(1024, 768)},
                      WindowRow{"twice", QSize(3840, 2160), 2.0, QSize(1920, 1080)},
                      WindowRow{"twiceAnOddSize", QSize(1001, 151), 2.0, QSize(501, 76)},
                      WindowRow{"aQuarterMoreExactly", QSize(1000, 750), 1.25, QSize(800, 600)},
                      WindowRow{"threeQuartersMore", QSize(1000, 200), 1.75, QSize(572, 115)},
                      WindowRow{"thrice", QSize(1000, 10), 3.0, QSize(334, 4)}),
    [](const auto& info) { return std::string(info.param.name); });

// A primary monitor at one device pixel per pixel, a dense one to its right.
const std::vector<ScreenScale> kTwoMonitors{{QRect(0, 0, 1920, 1080), 1.0, 96.0},
                                            {QRect(1920, 0, 3840, 2160), 2.0, 96.0}};

TEST(ScreenScale, IsThatOfTheMonitorUnderTheWindowElseThePrimaryOnes)
{
    EXPECT_EQ(screenScaleAt(QPoint(960, 540), kTwoMonitors).devicePixelRatio, 1.0);
    EXPECT_EQ(screenScaleAt(QPoint(1920 + 1920, 1080), kTwoMonitors).devicePixelRatio, 2.0);
    EXPECT_EQ(screenScaleAt(QPoint(1000, 2000), kTwoMonitors).devicePixelRatio, 1.0) << "below the primary";
    EXPECT_EQ(screenScaleAt(QPoint(0, 0), {}).devicePixelRatio, 1.0) << "no screen at all";
    EXPECT_EQ(screenScaleAt(QPoint(0, 0), {}).dotsPerInch, 96.0);
}

} // namespace
} // namespace korval
