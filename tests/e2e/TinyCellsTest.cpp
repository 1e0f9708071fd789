#include "WholeProgramTest.h"

#include "core/settings/SettingKeys.h"

namespace korval::e2e {
namespace {

// Cells of one pixel, stored by hand or reached through the dialog's
// negative gaps: a screen of them is millions of cells. A 3840 x 2160
// screen (8.3 million) is within the grid's ceiling, and the saver runs
// there; 7680 x 4320 (33 million) is past it, and start-up ends with the
// "Out of memory" box and status 1 instead of taking the machine's memory.
struct TinyCellsRow {
    const char* name;
    int width;
    int height;
    bool runs;
};

class TinyCells : public WholeProgramTest, public ::testing::WithParamInterface<TinyCellsRow> {
protected:
    TinyCells() : WholeProgramTest(GetParam().width, GetParam().height) {}
};

TEST_P(TinyCells, RunOrEndWithTheOutOfMemoryBox)
{
    user.store(settings::kWidth, QStringLiteral("1"));
    user.store(settings::kHeight, QStringLiteral("1"));
    user.store(settings::kTextSize, QStringLiteral("8"));
    user.store(settings::kSystem, QStringLiteral("0"));

    if (GetParam().runs) {
        auto saver = startSaver();
        ASSERT_FALSE(saverWindow.isEmpty());
        const QRect middle(GetParam().width / 2 - 200, GetParam().height / 2 - 200, 400, 400);
        EXPECT_GE(desktop->waitForNewPictures(middle, 2), 2) << "no rain falls";
        const Sent key = send([&] { desktop->key(QStringLiteral("space")); });
        EXPECT_TRUE(endsWithin(*saver, key, 0, 3000));
        return;
    }
    auto saver = start(QStringLiteral("/s"));
    const auto box = desktop->waitForWindow(QStringLiteral("^KORVAL$"), DesktopDriver::kPatienceMs);
    ASSERT_TRUE(box.has_value()) << "no message box; stderr: " << saver->errorOutput().toStdString();
    EXPECT_LT(desktop->geometry(*box).width(), GetParam().width / 2) << "a box, not the saver";
    desktop->focus(*box);
    ASSERT_TRUE(desktop->waitForFocus(*box)) << "the box does not get the focus";
    const Sent answer = send([&] { desktop->key(QStringLiteral("Return")); });
    EXPECT_TRUE(endsWithin(*saver, answer, 1, 3000));
    EXPECT_EQ(user.stored(settings::kWidth), QStringLiteral("1")) << "stored data kept";
}

INSTANTIATE_TEST_SUITE_P(WholeProgram, TinyCells,
                         ::testing::Values(TinyCellsRow{"screen4K", 3840, 2160, true},
                                           TinyCellsRow{"screen8K", 7680, 4320, false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace korval::e2e
