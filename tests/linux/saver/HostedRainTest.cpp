#include "support/FakePlatform.h"
#include "support/TempStore.h"

#include "saver/Form1.h"
#include "saver/HostedRain.h"

#include <gtest/gtest.h>

namespace korval {
namespace {

using testing::FakePlatform;
using testing::TempStore;

int cellsWithGlyphs(const CellArray& cells)
{
    int count = 0;
    for (int index = 1; index < cells.count(); ++index)
        count += cells[index].captionCode != kNoCaption ? 1 : 0;
    return count;
}

struct WindowRow {
    const char* name;
    int width;
    int height;
    int rows;
    int columns;
    bool moves;
};

class HostedGrid : public ::testing::TestWithParam<WindowRow> {};

// A host's window gets the grid the saver lays out on a screen of its size,
// cell for cell, whatever size the window had before.
TEST_P(HostedGrid, IsTheSaversGridForAScreenOfTheWindowsSize)
{
    const WindowRow& row = GetParam();
    FakePlatform platform(row.width, row.height);
    TempStore temp;
    HostedRain rain(platform, temp.store);
    rain.start(QSize(1024, 768));
    rain.resize(QSize(row.width, row.height));
    EXPECT_EQ(rain.state.rowsPerColumn, row.rows);
    EXPECT_EQ(rain.state.columnCount, row.columns);
    EXPECT_EQ(rain.Timer1.isEnabled(), row.moves) << "the timer sleeps where nothing can move";

    Form1 form(platform, temp.store);
    form.Timer1.setEnabled(false);
    form.StartSaver();
    ASSERT_EQ(rain.M1.count(), form.M1.count());
    for (int index = 0; index < form.M1.count(); ++index) {
        const Cell& hosted = rain.M1[index];
        const Cell& saver = form.M1[index];
        ASSERT_EQ(hosted.pixelRect(), saver.pixelRect()) << "cell " << index;
        ASSERT_EQ(hosted.visible, saver.visible) << "cell " << index;
    }

    for (int tick = 0; tick < 200; ++tick)
        rain.Timer1_Timer();
    EXPECT_EQ(cellsWithGlyphs(rain.M1) > 0, row.moves);
    EXPECT_FALSE(platform.ended());
}

INSTANTIATE_TEST_SUITE_P(Table, HostedGrid,
                         ::testing::Values(WindowRow{"screenSized", 1024, 768, 42, 78, true},
                                           WindowRow{"fullHd", 1920, 1080, 60, 147, true},
                                           WindowRow{"settingsPreview", 200, 150, 8, 15, true},
                                           WindowRow{"oneCell", 13, 18, 1, 1, true},
                                           WindowRow{"smallerThanACell", 10, 10, 0, 0, false},
                                           WindowRow{"narrowerThanACell", 12, 400, 22, 0, false},
                                           WindowRow{"lowerThanACell", 400, 17, 0, 30, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HostedRain, NewSizeStartsFreshColumnsAtTheTopAndRepaintsEverything)
{
    FakePlatform platform;
    TempStore temp;
    HostedRain rain(platform, temp.store);
    rain.start(QSize(400, 300));
    for (int tick = 0; tick < 50; ++tick)
        rain.Timer1_Timer();
    ASSERT_GT(cellsWithGlyphs(rain.M1), 0);

    rain.resize(QSize(600, 400));
    EXPECT_EQ(rain.state.columnCount, 46);
    EXPECT_EQ(cellsWithGlyphs(rain.M1), 0);
    for (int column = 1; column <= rain.state.columnCount; ++column)
        ASSERT_EQ(rain.state.headRow[std::size_t(column)], 0) << "column " << column;
    EXPECT_TRUE(rain.M1.geometryChanged()) << "the window is painted whole";
}

} // namespace
} // namespace korval
