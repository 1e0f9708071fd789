#include "core/support/FakeForm.h"

#include "core/saver/WindowRain.h"

#include <gtest/gtest.h>

namespace korval {
namespace {

using testing::FakeForm;
using testing::FakeTimer;

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

class WindowGrid : public ::testing::TestWithParam<WindowRow> {};

// Another program's window gets the grid the saver lays out on a screen of
// its size, cell for cell, whatever size the window had before.
TEST_P(WindowGrid, IsTheSaversGridForAScreenOfTheWindowsSize)
{
    const WindowRow& row = GetParam();
    FakeForm saver(row.width, row.height);
    FakeTimer timer{1, false};
    WindowRain rain(saver.platform, saver.store, timer);
    rain.start(1024, 768);
    rain.resize(row.width, row.height);
    EXPECT_EQ(rain.state.rowsPerColumn, row.rows);
    EXPECT_EQ(rain.state.columnCount, row.columns);
    EXPECT_EQ(rain.Timer1.isEnabled(), row.moves) << "the timer sleeps where nothing can move";

    Form1& form = saver.make();
    form.StartSaver();
    ASSERT_EQ(rain.M1.count(), form.M1.count());
    for (int index = 0; index < form.M1.count(); ++index) {
        ASSERT_EQ(rain.M1[index].pixelRect(), form.M1[index].pixelRect()) << "cell " << index;
        ASSERT_EQ(rain.M1[index].visible, form.M1[index].visible) << "cell " << index;
    }

    for (int tick = 0; tick < 200; ++tick)
        timer.tick();
    EXPECT_EQ(cellsWithGlyphs(rain.M1) > 0, row.moves);
    EXPECT_FALSE(saver.platform.ended());
}

INSTANTIATE_TEST_SUITE_P(Table, WindowGrid,
                         ::testing::Values(WindowRow{"screenSized", 1024, 768, 42, 78, true},
                                           WindowRow{"fullHd", 1920, 1080, 60, 147, true},
                                           WindowRow{"settingsPreview", 200, 150, 8, 15, true},
                                           WindowRow{"oneCell", 13, 18, 1, 1, true},
                                           WindowRow{"smallerThanACell", 10, 10, 0, 0, false},
                                           WindowRow{"narrowerThanACell", 12, 400, 22, 0, false},
                                           WindowRow{"lowerThanACell", 400, 17, 0, 30, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WindowRain, NewSizeStartsFreshColumnsAtTheTopAndRepaintsEverything)
{
    FakeForm saver;
    FakeTimer timer{1, false};
    WindowRain rain(saver.platform, saver.store, timer);
    rain.start(400, 300);
    for (int tick = 0; tick < 50; ++tick)
        timer.tick();
    ASSERT_GT(cellsWithGlyphs(rain.M1), 0);

    rain.resize(600, 400);
    EXPECT_EQ(rain.state.columnCount, 46);
    EXPECT_EQ(cellsWithGlyphs(rain.M1), 0);
    for (int column = 1; column <= rain.state.columnCount; ++column)
        ASSERT_EQ(rain.state.headRow[std::size_t(column)], 0) << "column " << column;
    EXPECT_TRUE(rain.M1.geometryChanged()) << "the window is painted whole";
}

TEST(WindowRain, AnUnusableSettingStopsTheTimerBeforeItsErrorIsReported)
{
    FakeForm saver;
    saver.store.put(settings::kWidth, "abc");
    FakeTimer timer{1, true};
    WindowRain rain(saver.platform, saver.store, timer);
    rain.stage().run([&] { rain.start(400, 300); });
    ASSERT_EQ(saver.platform.messages.size(), 1u);
    EXPECT_EQ(saver.platform.messages[0].text, "Run-time error '13':\n\nType mismatch");
    EXPECT_EQ(saver.platform.exitStatus, 1);
    EXPECT_FALSE(timer.isEnabled());
}

} // namespace
} // namespace korval
