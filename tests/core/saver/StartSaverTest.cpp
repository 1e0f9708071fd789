#include "core/support/Errors.h"
#include "core/support/FakeForm.h"
#include "core/support/Formats.h"

#include "core/saver/CellSettings.h"
#include "core/saver/Form1.h"
#include "core/saver/Grid.h"

#include "core/runtime/RuntimeError.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace korval {
namespace {

using testing::errorOf;
using testing::FakeForm;
namespace keys = settings;

// A saver form on a screen of the given size, started with what the store holds.
struct StartedSaver {
    StartedSaver(int width, int height, double twipsPerPixel = 15)
        : fake(width, height, twipsPerPixel), platform(fake.platform), store(fake.store)
    {
    }

    Form1& start()
    {
        Form1& form = fake.make();
        form.Timer1.setEnabled(false); // the tests tick by hand
        form.StartSaver();
        return form;
    }

    FakeForm fake;
    testing::FakePlatform& platform;
    testing::MemoryStore& store;
};

TEST(StartSaver, DefaultGridOn1024x768)
{
    StartedSaver saver(1024, 768);
    Form1& form = saver.start();
    const SaverState& state = form.state;

    EXPECT_EQ(state.rowsPerColumn, 42);
    EXPECT_EQ(state.columnCount, 78);
    ASSERT_EQ(form.M1.count(), 3356) << "cells 0..N + C + 1";
    EXPECT_EQ(form.M1[0].width, 13);
    EXPECT_EQ(form.M1[0].height, 18);
    EXPECT_FLOAT_EQ(form.M1[0].fontSize, 10);
    EXPECT_EQ(state.bannerFlag, "1");

    EXPECT_EQ(form.M1[3275].left, 1001); // bottom of column 78
    EXPECT_EQ(form.M1[3275].top, 738);
    EXPECT_EQ(form.M1[3276].left, 1014); // top of the edge column
    EXPECT_EQ(form.M1[3276].top, 0);
    for (int i = 3276; i <= 3355; ++i) {
        EXPECT_EQ(form.M1[i].left, 1014) << "edge cell " << i;
        EXPECT_EQ(form.M1[i].top, 18 * (i - 3276)) << "edge cell " << i;
    }
    for (int i = 0; i < 3276; ++i) {
        const Cell& cell = form.M1[i];
        ASSERT_EQ(cell.left, 13 * (i / 42)) << "cell " << i;
        ASSERT_EQ(cell.top, 18 * (i % 42)) << "cell " << i;
        ASSERT_LE(cell.top + cell.height, 756) << "the bottom 12 pixels hold no cell";
    }
    for (int i = 0; i < form.M1.count(); ++i) {
        ASSERT_TRUE(form.M1[i].visible) << "cell " << i;
        ASSERT_EQ(form.M1[i].captionCode, kNoCaption) << "cell " << i;
        ASSERT_FLOAT_EQ(form.M1[i].fontSize, 10) << "cell " << i;
    }
    EXPECT_EQ(form.Width, 1024 * 15);
    EXPECT_EQ(form.Height, 768 * 15);
    EXPECT_EQ(saver.platform.cursorCount, -1);
    EXPECT_EQ(saver.platform.randomSource.seedings, 1);
    EXPECT_FALSE(saver.platform.ended());
    EXPECT_EQ(saver.fake.windows.log, (std::vector<std::string>{"keepOnTop form"}))
        << "the form's window stays above all others";
    EXPECT_EQ(saver.store.writes, 0);
}

TEST(StartSaver, ScreenWidthAWholeNumberOfCellsPutsTheEdgeColumnOffScreen)
{
    StartedSaver saver(1040, 768);
    Form1& form = saver.start();
    EXPECT_EQ(form.state.columnCount, 80);
    EXPECT_EQ(form.M1[42 * 80].left, 1040);
}

TEST(StartSaver, AlwaysDividesByFifteenTwipsPerPixel)
{
    StartedSaver saver(1024, 768, 12);
    Form1& form = saver.start();
    EXPECT_EQ(form.state.rowsPerColumn, 34);
    EXPECT_EQ(form.state.columnCount, 63);
}

TEST(StartSaver, StoredSettingsReachEveryCell)
{
    StartedSaver saver(1024, 768);
    saver.store.put(keys::kTextSize, "12");
    saver.store.put(keys::kWidth, "16");
    saver.store.put(keys::kHeight, "21");
    saver.store.put(keys::kSystem, "0");
    Form1& form = saver.start();
    EXPECT_EQ(form.state.columnCount, 64);
    EXPECT_EQ(form.state.rowsPerColumn, 36);
    EXPECT_EQ(form.state.bannerFlag, "0");
    for (int i = 0; i < form.M1.count(); ++i) {
        ASSERT_FLOAT_EQ(form.M1[i].fontSize, 12) << "cell " << i;
        ASSERT_EQ(form.M1[i].width, 16) << "cell " << i;
        ASSERT_EQ(form.M1[i].height, 21) << "cell " << i;
    }
}

TEST(StartSaver, SeedsSpeedThenModeColumnByColumn)
{
    StartedSaver saver(13 * 3, 18 * 2); // three columns of two rows
    // column 1: speed draw 0.1 -> 0 -> 1, mode 0.7 -> 1
    // column 2: speed 0.99 -> 4, mode 0.2 -> 0
    // column 3: speed 0.45 -> 2, mode 0.5 -> 1
    saver.platform.randomSource.script({0.1, 0.7, 0.99, 0.2, 0.45, 0.5});
    Form1& form = saver.start();
    const SaverState& state = form.state;
    ASSERT_EQ(state.columnCount, 3);
    EXPECT_EQ(state.columnSpeed, (std::vector<int>{0, 1, 4, 2, 0}));
    EXPECT_EQ(state.columnMode, (std::vector<int>{0, 1, 0, 1, 0}));
    EXPECT_EQ(saver.platform.randomSource.draws, 6);
    EXPECT_EQ(state.headRow.size(), 5u);
    EXPECT_EQ(state.lastHead.size(), 5u);
}

TEST(StartSaver, LargeScreensBuildTheWholeGrid)
{
    StartedSaver saver(3840, 2160);
    Form1& form = saver.start();
    const int R = 120;
    const int C = 295;
    EXPECT_EQ(form.state.rowsPerColumn, R);
    EXPECT_EQ(form.state.columnCount, C);
    EXPECT_EQ(form.M1.count(), R * C + C + 2);
    EXPECT_EQ(form.state.columnSpeed.size(), static_cast<std::size_t>(C + 2));

    StartedSaver narrow(1024, 768);
    narrow.store.put(keys::kWidth, "2");
    Form1& narrowForm = narrow.start();
    EXPECT_EQ(narrowForm.state.columnCount, 512) << "more than 500 columns still seed";
    EXPECT_GT(narrowForm.state.columnSpeed[512], 0);
}

TEST(StartSaver, CellsLargerThanTheScreenLeaveAStillGrid)
{
    StartedSaver tall(1024, 768);
    tall.store.put(keys::kHeight, "800");
    Form1& tallForm = tall.start();
    EXPECT_EQ(tallForm.state.rowsPerColumn, 0);
    EXPECT_EQ(tallForm.M1.count(), 2) << "the template and the one cell below it";
    EXPECT_EQ(tallForm.M1[1].top, 800);

    StartedSaver wide(1024, 768);
    wide.store.put(keys::kWidth, "2000");
    Form1& wideForm = wide.start();
    EXPECT_EQ(wideForm.state.columnCount, 0);
    EXPECT_EQ(wideForm.M1.count(), 2);
}

struct BadSettingRow {
    const char* name;
    const settings::SettingKey* key;
    const char* value;
    int error;
};

class StartSaverRefuses : public ::testing::TestWithParam<BadSettingRow> {};

TEST_P(StartSaverRefuses, WithTheErrorOfTheUnusableValue)
{
    StartedSaver saver(1024, 768);
    saver.store.put(*GetParam().key, GetParam().value);
    Form1& form = saver.fake.make();
    try {
        form.StartSaver();
        ADD_FAILURE() << "start-up did not fail";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), GetParam().error);
    }
}

// A value given for this run is checked as a stored one is, and the rain in
// a host's window (which takes the same steps: the cell settings, then the
// grid for its window's size) fails the same way; the store is never written.
TEST_P(StartSaverRefuses, AlsoForAValueForThisRunAndInAHostWindow)
{
    const BadSettingRow& row = GetParam();
    const SettingEntries runOnly{{std::string(row.key->name), row.value}};
    {
        StartedSaver saver(1024, 768);
        saver.store.setRunOnly(runOnly);
        Form1& form = saver.fake.make();
        EXPECT_EQ(errorOf([&] { form.StartSaver(); }), row.error) << "for this run";
        EXPECT_EQ(saver.store.writes, 0) << "nothing written";
        EXPECT_EQ(saver.store.value(*row.key), std::nullopt) << "nothing stored";
    }
    for (const bool stored : {true, false}) {
        testing::MemoryStore store;
        if (stored)
            store.put(*row.key, row.value);
        else
            store.setRunOnly(runOnly);
        SaverState state;
        CellArray M1(templateCell(), CellFont{});
        const auto hostedStart = [&] {
            applyCellSettings(M1, store, testing::invariantFormat());
            layOutGrid(state, M1, SizeF{1024 * 15, 768 * 15});
        };
        EXPECT_EQ(errorOf(hostedStart), row.error) << (stored ? "stored" : "for this run");
        EXPECT_EQ(store.writes, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, StartSaverRefuses,
    ::testing::Values(BadSettingRow{"zeroWidth", &keys::kWidth, "0", RuntimeError::DivisionByZero},
                      BadSettingRow{"zeroHeight", &keys::kHeight, "0", RuntimeError::DivisionByZero},
                      BadSettingRow{"negativeWidth", &keys::kWidth, "-5", RuntimeError::InvalidPropertyValue},
                      BadSettingRow{"negativeHeight", &keys::kHeight, "-1", RuntimeError::InvalidPropertyValue},
                      BadSettingRow{"widthBelowOnePixel", &keys::kWidth, "0.001", RuntimeError::InvalidPropertyValue},
                      BadSettingRow{"wordAsWidth", &keys::kWidth, "abc", RuntimeError::TypeMismatch},
                      BadSettingRow{"emptyHeight", &keys::kHeight, "", RuntimeError::TypeMismatch},
                      BadSettingRow{"wordAsTextSize", &keys::kTextSize, "big", RuntimeError::TypeMismatch},
                      BadSettingRow{"zeroTextSize", &keys::kTextSize, "0", RuntimeError::InvalidPropertyValue},
                      BadSettingRow{"hugeWidth", &keys::kWidth, "1e39", RuntimeError::Overflow}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StartSaver, AnyTextOfSystemIsKeptUnexamined)
{
    StartedSaver saver(1024, 768);
    saver.store.put(keys::kSystem, "yes please");
    EXPECT_EQ(saver.start().state.bannerFlag, "yes please");
}

TEST(StartSaver, AnotherInstanceEndsAtOnceWithoutTouchingAnything)
{
    StartedSaver saver(1024, 768);
    saver.platform.anotherInstance = true;
    Form1& form = saver.start();
    EXPECT_EQ(saver.platform.exitStatus, 0);
    EXPECT_EQ(saver.platform.cursorCount, 0) << "the running saver's pointer stays as it was";
    EXPECT_EQ(form.M1.count(), 1);
    EXPECT_TRUE(saver.fake.windows.log.empty()) << "no window is asked for anything";
}

} // namespace
} // namespace korval
