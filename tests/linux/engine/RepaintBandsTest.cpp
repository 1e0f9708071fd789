#include "engine/RepaintBands.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace korval {
namespace {

const QRect kScreen(0, 0, 1024, 768);

QRect cell(int column, int row) { return {column * 13, row * 18, 13, 18}; }

QRegion unionOf(const std::vector<QRect>& rects)
{
    QRegion region;
    for (const QRect& rect : rects)
        region += rect;
    return region & kScreen;
}

struct BandCase {
    const char* name;
    std::vector<QRect> changed;
    int mergeGap;
    std::vector<QRect> expected; // the flushed rectangles, top to bottom, left to right
};

class RepaintBandsRows : public ::testing::TestWithParam<BandCase> {};

TEST_P(RepaintBandsRows, JoinsEachRowsCellsIntoFewRectangles)
{
    const BandCase& row = GetParam();
    RepaintBands bands(row.mergeGap);
    for (const QRect& rect : row.changed)
        bands.add(rect);
    const QRegion region = bands.region(kScreen);

    const std::vector<QRect> flushed(region.begin(), region.end());
    EXPECT_EQ(flushed, row.expected);
    EXPECT_TRUE((unionOf(row.changed) - region).isEmpty()) << "every changed pixel is flushed";
}

INSTANTIATE_TEST_SUITE_P(
    RepaintBands, RepaintBandsRows,
    ::testing::Values(
        BandCase{"OneCell", {cell(2, 3)}, 0, {cell(2, 3)}},
        BandCase{"NeighboursInARowJoin", {cell(1, 0), cell(2, 0)}, 0, {QRect(13, 0, 26, 18)}},
        BandCase{"CellsAboveEachOtherStayInTheirRows", {cell(1, 1), cell(1, 0)}, 0, {cell(1, 0), cell(1, 1)}},
        BandCase{"AGapWithinTheMergeGapJoins", {cell(0, 0), cell(3, 0)}, 26, {QRect(0, 0, 52, 18)}},
        BandCase{"AWiderGapStaysApart", {cell(0, 0), cell(3, 0)}, 25, {cell(0, 0), cell(3, 0)}},
        BandCase{"ACellChangedTwiceIsSentOnce", {cell(4, 4), cell(4, 4)}, 0, {cell(4, 4)}},
        BandCase{"OutOfOrderInput", {cell(5, 2), cell(0, 2), cell(3, 0)}, 0, {cell(3, 0), cell(0, 2), cell(5, 2)}},
        BandCase{"ClippedToTheScreen", {QRect(1014, 0, 13, 18), QRect(0, 756, 13, 18)}, 0,
                 {QRect(1014, 0, 10, 18), QRect(0, 756, 13, 12)}},
        BandCase{"WhollyOffScreenIsDropped", {QRect(1040, 0, 13, 18)}, 0, {}},
        // Areas whose tops lie in one row's band are joined into one band.
        BandCase{"UnevenAreasOfOneBandJoin", {QRect(0, 0, 13, 18), QRect(13, 9, 13, 18)}, 40,
                 {QRect(0, 0, 26, 27)}}),
    [](const auto& info) { return std::string(info.param.name); });

// Many cells changed at random all over a grid, as a tick leaves them: with
// no merge gap the flushed region is exactly the changed cells; with a gap it
// covers them with fewer rectangles and adds nothing outside their rows.
TEST(RepaintBands, RandomChangesGiveAValidRegion)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> column(0, 78);
    std::uniform_int_distribution<int> row(0, 41);
    RepaintBands exact(0);
    RepaintBands merged(RepaintBands::kDefaultMergeGap);
    std::vector<QRect> changed;
    for (int i = 0; i < 400; ++i) {
        const QRect rect = cell(column(random), row(random));
        changed.push_back(rect);
        exact.add(rect);
        merged.add(rect);
    }
    const QRegion expected = unionOf(changed);
    const QRegion exactRegion = exact.region(kScreen);
    const QRegion mergedRegion = merged.region(kScreen);

    EXPECT_TRUE(exactRegion.xored(expected).isEmpty());
    EXPECT_TRUE((expected - mergedRegion).isEmpty());
    EXPECT_LT(mergedRegion.rectCount(), exactRegion.rectCount());
    QRegion changedRows;
    for (const QRect& rect : changed)
        changedRows += QRect(0, rect.top(), kScreen.width(), rect.height());
    EXPECT_TRUE((mergedRegion - changedRows).isEmpty());
}

TEST(RepaintBands, OverlappingBandsFallBackToTheExactUnion)
{
    const std::vector<QRect> changed{cell(0, 0), cell(1, 1), QRect(26, 5, 13, 40)};
    RepaintBands bands(40);
    for (const QRect& rect : changed)
        bands.add(rect);
    EXPECT_EQ(bands.region(kScreen), unionOf(changed));
}

TEST(RepaintBands, ReusedFromOneRepaintToTheNext)
{
    RepaintBands bands(0);
    bands.add(cell(0, 0));
    EXPECT_EQ(bands.region(kScreen).rectCount(), 1);
    bands.clear();
    EXPECT_TRUE(bands.isEmpty());
    EXPECT_TRUE(bands.region(kScreen).isEmpty());
    bands.add(cell(1, 1));
    EXPECT_EQ(bands.region(kScreen), QRegion(cell(1, 1)));
}

} // namespace
} // namespace korval
